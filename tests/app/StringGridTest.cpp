#include "app/StringGrid.h"
#include "batch/TextGrid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using Layout = TextGridModel::Layout;

namespace {

const QStringList batchHeaders = {"  Вещество", "Моляр.масса", "Мольн. доля", "Общ.навеска", " Навеска, гр."};

void fillBatch(batch::TextGrid& grid) {
    grid.setDimensions(5, 20);
    for (int c = 0; c < 5; ++c)
        grid.setCell(c, 0, batchHeaders[c]);
    const QStringList rows[] = {{"SiO2", "60,0848", "75", "100"}, {"Na2O", "61,979", "25", "100"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            grid.setCell(c, r + 1, rows[r][c]);
}

void fillSummary(batch::TextGrid& grid) {
    grid.setDimensions(2, 2);
    grid.setCell(0, 0, "Моль, %");
    grid.setCell(0, 1, "Навески, г");
    grid.setCell(1, 0, "75,0 SiO2-25,0 Na2O");
}

// A grid shown on the offscreen screen at the batch tables' size.
struct Shown {
    batch::TextGrid grid;
    std::unique_ptr<StringGrid> view;

    explicit Shown(Layout layout = Layout::HeaderRow) {
        layout == Layout::HeaderRow ? fillBatch(grid) : fillSummary(grid);
        view = std::make_unique<StringGrid>(&grid, layout, nullptr);
        view->resize(333, 505);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    TextGridModel* model() const { return view->textModel(); }
};

// Keys go where the user's keys would: to the table, and once a cell editor is open, to it.
void type(StringGrid& view, const QString& text) {
    for (const QChar ch : text) {
        QWidget* editor = view.isEditingCell() ? view.indexWidget(view.currentIndex()) : nullptr;
        QTest::keyClick(editor ? editor : &view, ch.toLatin1());
    }
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

TEST(TextGridModelTest, FixedRowOrColumnIsHeaderAndFollowsTheGrid) {
    struct Case {
        Layout layout;
        int column, row;             // grid cell that changes
        bool header;                 // seen as header data ...
        Qt::Orientation orientation; // (the layout's header)
        int section;
        int modelRow, modelColumn; // ... or as this model cell
    };
    const Case cases[] = {
        {Layout::HeaderRow, 2, 0, true, Qt::Horizontal, 2, -1, -1},
        {Layout::HeaderRow, 4, 5, false, Qt::Horizontal, 1, 4, 4},
        {Layout::HeaderColumn, 0, 1, true, Qt::Vertical, 1, -1, -1},
        {Layout::HeaderColumn, 1, 0, false, Qt::Vertical, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.column << "," << c.row);
        batch::TextGrid grid;
        const bool batchLayout = c.layout == Layout::HeaderRow;
        batchLayout ? fillBatch(grid) : fillSummary(grid);
        StringGrid view(&grid, c.layout, nullptr);
        const TextGridModel& model = *view.textModel();
        EXPECT_EQ(model.rowCount(), batchLayout ? 19 : 2);
        EXPECT_EQ(model.columnCount(), batchLayout ? 5 : 1);
        EXPECT_EQ(model.headerData(1, c.orientation).toString(),
                  batchLayout ? batchHeaders[1] : "Навески, г");
        EXPECT_EQ(model.data(model.index(0, 0)).toString(), batchLayout ? "SiO2" : "75,0 SiO2-25,0 Na2O");
        EXPECT_EQ(view.horizontalHeader()->isHidden(), !batchLayout);
        EXPECT_EQ(view.verticalHeader()->isHidden(), batchLayout);
        QSignalSpy headerSpy(&model, &QAbstractItemModel::headerDataChanged);
        QSignalSpy dataSpy(&model, &QAbstractItemModel::dataChanged);

        grid.setCell(c.column, c.row, "новое");

        if (c.header) {
            ASSERT_EQ(headerSpy.count(), 1);
            EXPECT_EQ(dataSpy.count(), 0);
            EXPECT_EQ(headerSpy[0][0].value<Qt::Orientation>(), c.orientation);
            EXPECT_EQ(headerSpy[0][1].toInt(), c.section);
            EXPECT_EQ(model.headerData(c.section, c.orientation).toString(), "новое");
        } else {
            ASSERT_EQ(dataSpy.count(), 1);
            EXPECT_EQ(headerSpy.count(), 0);
            const QModelIndex changed = dataSpy[0][0].toModelIndex();
            EXPECT_EQ(changed, model.index(c.modelRow, c.modelColumn));
            EXPECT_EQ(model.data(changed).toString(), "новое");
            EXPECT_EQ(model.indexForCell(c.column, c.row), changed);
        }
    }
}

TEST(TextGridModelTest, GridResetIsFollowedAndKeepsColumnWidths) {
    batch::TextGrid grid;
    fillBatch(grid);
    StringGrid view(&grid, Layout::HeaderRow, nullptr);
    view.setColumnWidthPixels(3, 90);
    QSignalSpy resetSpy(view.textModel(), &QAbstractItemModel::modelReset);

    batch::TextGrid loaded(5, 3);
    loaded.setCell(0, 0, "Формула");
    loaded.setCell(0, 2, "CaO");
    grid.assign(loaded);

    EXPECT_EQ(resetSpy.count(), 1);
    EXPECT_EQ(view.textModel()->rowCount(), 2);
    EXPECT_EQ(view.textModel()->headerData(0, Qt::Horizontal).toString(), "Формула");
    EXPECT_EQ(view.textModel()->data(view.textModel()->index(1, 0)).toString(), "CaO");
    EXPECT_EQ(view.columnWidthPixels(3), 90);
}

TEST(StringGridTest, EditingThroughTheModelFollowsEditingAndRowSelect) {
    struct Case {
        bool editing, rowSelect, editable;
    };
    for (const Case& c : {Case{true, false, true}, Case{false, false, false}, Case{true, true, false},
                          Case{false, true, false}}) {
        SCOPED_TRACE(testing::Message() << "editing " << c.editing << " row select " << c.rowSelect);
        for (const Layout layout : {Layout::HeaderRow, Layout::HeaderColumn}) {
            batch::TextGrid grid;
            layout == Layout::HeaderRow ? fillBatch(grid) : fillSummary(grid);
            StringGrid view(&grid, layout, nullptr);
            view.setEditing(c.editing);
            view.setRowSelect(c.rowSelect);
            TextGridModel* model = view.textModel();
            const QModelIndex target = model->indexForCell(1, 1);
            const QString before = grid.cell(1, 1);

            EXPECT_EQ(model->flags(target).testFlag(Qt::ItemIsEditable), c.editable);
            EXPECT_EQ(view.editTriggers() != QAbstractItemView::NoEditTriggers, c.editable);
            EXPECT_EQ(model->setData(target, "99,5"), c.editable);
            EXPECT_EQ(grid.cell(1, 1), c.editable ? "99,5" : before);
        }
    }
}

TEST(StringGridTest, TypingEditsTheCellUnlessRowSelectIsOn) {
    for (const bool rowSelect : {false, true}) {
        SCOPED_TRACE(rowSelect ? "row select" : "cell select");
        Shown shown;
        shown.view->setRowSelect(rowSelect);
        shown.view->setFocus();
        shown.view->setCurrentIndex(shown.model()->indexForCell(0, 3));
        type(*shown.view, "CaO");
        // The grid has the text while the editor is still open, as a toolbar command would see it.
        EXPECT_EQ(shown.grid.cell(0, 3), rowSelect ? "" : "CaO");
        EXPECT_EQ(shown.view->isEditingCell(), !rowSelect);
        if (QWidget* editor = shown.view->indexWidget(shown.view->currentIndex()))
            QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate closes its editor through the event loop
        EXPECT_EQ(shown.grid.cell(0, 3), rowSelect ? "" : "CaO");
        EXPECT_FALSE(shown.view->isEditingCell());
    }
}

TEST(StringGridTest, EachOptionChangesOnlyItsOwnBehaviour) {
    struct Observed {
        bool editable, rows, horz, vert, rowDrag, colDrag;
        bool operator==(const Observed&) const = default;
    };
    const auto observe = [](const Shown& s) {
        // Lines are seen on the bottom and right edge of an empty cell away from the focus.
        const QImage img = s.view->viewport()->grab().toImage();
        const QRect cell = s.view->visualRect(s.model()->index(5, 2));
        const QColor base = s.view->palette().color(QPalette::Base);
        return Observed{s.model()->flags(s.model()->index(5, 2)).testFlag(Qt::ItemIsEditable),
                        s.view->selectionBehavior() == QAbstractItemView::SelectRows,
                        img.pixelColor(cell.center().x(), cell.bottom()) != base,
                        img.pixelColor(cell.right(), cell.center().y()) != base,
                        s.view->verticalHeader()->sectionResizeMode(0) == QHeaderView::Interactive,
                        s.view->horizontalHeader()->sectionResizeMode(0) == QHeaderView::Interactive};
    };
    using Setter = std::function<void(StringGrid&, bool)>;
    const std::pair<Setter, bool Observed::*> options[] = {
        {&StringGrid::setEditing, &Observed::editable},  {&StringGrid::setRowSelect, &Observed::rows},
        {&StringGrid::setHorzLine, &Observed::horz},     {&StringGrid::setVertLine, &Observed::vert},
        {&StringGrid::setRowSizing, &Observed::rowDrag}, {&StringGrid::setColSizing, &Observed::colDrag},
    };
    Shown initial;
    EXPECT_EQ(observe(initial), (Observed{true, false, true, true, false, false}));
    for (size_t i = 0; i < std::size(options); ++i) {
        SCOPED_TRACE(testing::Message() << "option " << i);
        Shown shown;
        Observed expected = observe(shown);
        expected.*options[i].second = !(expected.*options[i].second);
        if (options[i].second == &Observed::rows)
            expected.editable = false; // whole-row selection also stops in-place editing
        options[i].first(*shown.view, !(observe(shown).*options[i].second));
        EXPECT_EQ(observe(shown), expected);
    }
}

TEST(StringGridTest, SettingAnOptionToItsValueDoesNothing) {
    Shown shown;
    StringGrid& view = *shown.view;
    view.setFocus();
    view.setCurrentIndex(shown.model()->indexForCell(1, 6));
    type(view, "4");
    ASSERT_TRUE(view.isEditingCell());
    PaintCounter counter;
    for (QWidget* w : {view.viewport(), view.horizontalHeader()->viewport(), static_cast<QWidget*>(&view)})
        w->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    // What the main window's refresh does on every tick when nothing changed.
    for (int tick = 0; tick < 3; ++tick) {
        view.setEditing(view.editing());
        view.setRowSelect(view.rowSelect());
        view.setHorzLine(view.horzLine());
        view.setVertLine(view.vertLine());
        view.setRowSizing(view.rowSizing());
        view.setColSizing(view.colSizing());
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(view.isEditingCell());

    // A real change does repaint (so the counting works); switching editing off keeps the text.
    view.setEditing(false);
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_FALSE(view.isEditingCell());
    EXPECT_EQ(shown.grid.cell(1, 6), "4");
}

// Where a header is hidden, its boundaries can still be dragged in the cell area, but only while
// the matching sizing option is on; a press elsewhere in the cell stays an ordinary click.
TEST(StringGridTest, BoundariesDragInTheCellAreaOnlyWithSizingOn) {
    struct Case {
        Layout layout;
        bool rows; // drag a row boundary, else a column boundary
        bool sizing;
    };
    for (const Case& c :
         {Case{Layout::HeaderRow, true, false}, Case{Layout::HeaderRow, true, true},
          Case{Layout::HeaderColumn, false, false}, Case{Layout::HeaderColumn, false, true}}) {
        SCOPED_TRACE(testing::Message() << (c.rows ? "rows" : "columns") << " sizing " << c.sizing);
        Shown shown(c.layout);
        shown.grid.setColumnCount(3); // a neighbour to the right for the summary's one column
        StringGrid& view = *shown.view;
        c.rows ? view.setRowSizing(c.sizing) : view.setColSizing(c.sizing);
        const auto size = [&](int section) {
            return c.rows ? view.rowHeight(section) : view.columnWidth(section);
        };
        const int before = size(0);
        const QRect cell = view.visualRect(shown.model()->index(0, 0));
        const QPoint edge =
            c.rows ? QPoint(cell.center().x(), cell.bottom()) : QPoint(cell.right(), cell.center().y());
        const QPoint moved = edge + (c.rows ? QPoint(0, 15) : QPoint(15, 0));
        QWidget* vp = view.viewport();
        QTest::mousePress(vp, Qt::LeftButton, {}, edge);
        QTest::mouseMove(vp, moved);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, moved);
        EXPECT_EQ(size(0), c.sizing ? before + 15 : before);
        EXPECT_EQ(size(1), before);

        QTest::mouseClick(vp, Qt::LeftButton, {}, view.visualRect(shown.model()->index(1, 0)).center());
        EXPECT_EQ(view.currentIndex(), shown.model()->index(1, 0));
    }
}

TEST(StringGridTest, DefaultColumnsFitTheTableAndItsHeaders) {
    batch::TextGrid grid;
    fillBatch(grid);
    QWidget window; // the main window's 8-point font reaches the table as a child
    QFont font = window.font();
    font.setPointSize(8);
    window.setFont(font);
    StringGrid view(&grid, Layout::HeaderRow, &window);
    view.resize(333, 505);
    batch::TextGrid summary;
    fillSummary(summary);
    StringGrid summaryView(&summary, Layout::HeaderColumn, &window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());
    const QHeaderView* header = view.horizontalHeader();
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < 5; ++c)
        EXPECT_LE(header->fontMetrics().horizontalAdvance(batchHeaders[c]) + margins,
                  view.columnWidthPixels(c))
            << c;
    EXPECT_LE(summaryView.verticalHeader()->fontMetrics().horizontalAdvance("Навески, г") + margins,
              summaryView.columnWidthPixels(0));

    summaryView.setColumnWidthPixels(1, 250);
    EXPECT_EQ(summaryView.columnWidth(0), 250);
    EXPECT_EQ(summaryView.columnWidthPixels(1), 250);
    summaryView.setColumnWidthPixels(0, 80);
    EXPECT_EQ(summaryView.verticalHeader()->width(), 80);
}
