#include "app/StringGrid.h"
#include "batch/TextGrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using Layout = TextGridModel::Layout;

namespace {

const QStringList batchHeaders = {"  Вещество", "Моляр.масса", "Мольн. доля", "Общ.навеска", " Навеска, гр."};

void fill(batch::TextGrid& grid, Layout layout) {
    if (layout == Layout::HeaderColumn) {
        grid.setDimensions(2, 2);
        grid.setCell(0, 0, "Моль, %");
        grid.setCell(0, 1, "Навески, г");
        grid.setCell(1, 0, "75,0 SiO2-25,0 Na2O");
        return;
    }
    grid.setDimensions(5, 20);
    for (int c = 0; c < 5; ++c)
        grid.setCell(c, 0, batchHeaders[c]);
    grid.setCell(0, 1, "SiO2");
    grid.setCell(1, 1, "60,0848");
}

// A grid shown on the offscreen screen at the batch tables' size.
struct Shown {
    batch::TextGrid grid;
    std::unique_ptr<StringGrid> view;

    explicit Shown(Layout layout = Layout::HeaderRow) {
        fill(grid, layout);
        view = std::make_unique<StringGrid>(&grid, layout, nullptr);
        view->resize(333, 505);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    TextGridModel* model() const { return view->textModel(); }
};

} // namespace

// Row 0 of a substance table is the horizontal header, column 0 of a summary the vertical one;
// a change in the grid reaches the view as header or cell change accordingly.
TEST(TextGridModelTest, FixedRowOrColumnIsHeaderAndFollowsTheGrid) {
    const struct {
        Layout layout;
        int column, row; // grid cell that changes
        bool header;
        int section, modelRow, modelColumn;
    } cases[] = {
        {Layout::HeaderRow, 2, 0, true, 2, -1, -1},
        {Layout::HeaderRow, 4, 5, false, -1, 4, 4},
        {Layout::HeaderColumn, 0, 1, true, 1, -1, -1},
        {Layout::HeaderColumn, 1, 0, false, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.column << "," << c.row);
        batch::TextGrid grid;
        fill(grid, c.layout);
        StringGrid view(&grid, c.layout, nullptr);
        const TextGridModel& model = *view.textModel();
        const bool batchLayout = c.layout == Layout::HeaderRow;
        const Qt::Orientation orientation = batchLayout ? Qt::Horizontal : Qt::Vertical;
        EXPECT_EQ(model.rowCount(), batchLayout ? 19 : 2);
        EXPECT_EQ(model.columnCount(), batchLayout ? 5 : 1);
        EXPECT_EQ(model.headerData(1, orientation).toString(), batchLayout ? batchHeaders[1] : "Навески, г");
        EXPECT_EQ(model.data(model.index(0, 0)).toString(), batchLayout ? "SiO2" : "75,0 SiO2-25,0 Na2O");
        EXPECT_EQ(view.horizontalHeader()->isHidden(), !batchLayout);
        EXPECT_EQ(view.verticalHeader()->isHidden(), batchLayout);
        QSignalSpy headerSpy(&model, &QAbstractItemModel::headerDataChanged);
        QSignalSpy dataSpy(&model, &QAbstractItemModel::dataChanged);

        grid.setCell(c.column, c.row, "новое");

        EXPECT_EQ(headerSpy.count(), c.header ? 1 : 0);
        EXPECT_EQ(dataSpy.count(), c.header ? 0 : 1);
        const QVariant shown = c.header ? model.headerData(c.section, orientation)
                                        : model.data(model.index(c.modelRow, c.modelColumn));
        EXPECT_EQ(shown.toString(), "новое");
        if (!c.header && dataSpy.count() == 1) {
            EXPECT_EQ(dataSpy[0][0].toModelIndex(), model.indexForCell(c.column, c.row));
        }
    }
}

TEST(StringGridTest, GridResetIsFollowedAndKeepsColumnWidths) {
    batch::TextGrid grid;
    fill(grid, Layout::HeaderRow);
    StringGrid view(&grid, Layout::HeaderRow, nullptr);
    view.setColumnWidthPixels(3, 90);
    batch::TextGrid loaded(5, 3);
    loaded.setCell(0, 0, "Формула");
    loaded.setCell(0, 2, "CaO");
    grid.assign(loaded);
    EXPECT_EQ(view.textModel()->rowCount(), 2);
    EXPECT_EQ(view.textModel()->headerData(0, Qt::Horizontal).toString(), "Формула");
    EXPECT_EQ(view.textModel()->data(view.textModel()->index(1, 0)).toString(), "CaO");
    EXPECT_EQ(view.columnWidthPixels(3), 90);
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
    const std::pair<std::function<void(StringGrid&, bool)>, bool Observed::*> options[] = {
        {&StringGrid::setEditing, &Observed::editable},  {&StringGrid::setRowSelect, &Observed::rows},
        {&StringGrid::setHorzLine, &Observed::horz},     {&StringGrid::setVertLine, &Observed::vert},
        {&StringGrid::setRowSizing, &Observed::rowDrag}, {&StringGrid::setColSizing, &Observed::colDrag},
    };
    const Observed initial{true, false, true, true, false, false};
    EXPECT_EQ(observe(Shown()), initial);
    for (const auto& [set, field] : options) {
        SCOPED_TRACE(testing::Message() << "option " << (&set - &options[0].first));
        Shown shown;
        Observed expected = initial;
        expected.*field = !(initial.*field);
        if (field == &Observed::rows)
            expected.editable = false; // whole-row selection also stops in-place editing
        set(*shown.view, !(initial.*field));
        EXPECT_EQ(observe(shown), expected);
    }
}

// Every keystroke reaches the grid at once, so that a toolbar command sees the text as it stands.
// The main window re-applies every option on each refresh: that must neither repaint nor close
// an open editor.
TEST(StringGridTest, TypingReachesTheGridAndReapplyingAnOptionDoesNothing) {
    Shown shown;
    StringGrid& view = *shown.view;
    view.setFocus();
    view.setCurrentIndex(shown.model()->indexForCell(1, 6));
    QTest::keyClick(&view, '4');
    ASSERT_TRUE(view.isEditingCell());
    EXPECT_EQ(shown.grid.cell(1, 6), "4");
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    view.viewport()->installEventFilter(&counter);
    view.horizontalHeader()->viewport()->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;
    view.setEditing(view.editing());
    view.setRowSelect(view.rowSelect());
    view.setHorzLine(view.horzLine());
    view.setVertLine(view.vertLine());
    view.setRowSizing(view.rowSizing());
    view.setColSizing(view.colSizing());
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(view.isEditingCell());

    // A real change does repaint (so the counting works); switching editing off keeps the text.
    view.setEditing(false);
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_FALSE(view.isEditingCell());
    EXPECT_EQ(shown.grid.cell(1, 6), "4");
}

// Ctrl+C gives what a spreadsheet pastes cell for cell: the selected block, tabs between cells,
// a line end after each row, quoted where a cell would otherwise split; a selection of whole
// columns or rows brings the captions or row labels along.
TEST(StringGridTest, CtrlCCopiesTheSelectionAsTabSeparatedText) {
    Shown shown;
    StringGrid& view = *shown.view;
    shown.grid.setCell(0, 2, "Na2O");
    shown.grid.setCell(1, 2, "61,979");
    shown.grid.setCell(4, 2, "сказал \"нет\"\tи всё");
    const auto select = [&](int fromColumn, int fromRow, int toColumn, int toRow) {
        view.selectionModel()->select(QItemSelection(shown.model()->indexForCell(fromColumn, fromRow),
                                                     shown.model()->indexForCell(toColumn, toRow)),
                                      QItemSelectionModel::ClearAndSelect);
    };
    const auto copied = [&] {
        QGuiApplication::clipboard()->clear();
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    };
    select(0, 1, 1, 2);
    EXPECT_EQ(copied(), "SiO2\t60,0848\nNa2O\t61,979\n");
    select(3, 2, 4, 2);
    view.selectionModel()->select(shown.model()->indexForCell(0, 1), QItemSelectionModel::Select);
    EXPECT_EQ(copied(), "SiO2\t\t\t\t\n\t\t\t\t\"сказал \"\"нет\"\"\tи всё\"\n");
    EXPECT_FALSE(view.isEditingCell()); // the key did not start an edit of the editable grid
    EXPECT_EQ(shown.grid.cell(0, 1), "SiO2");

    // Whole columns: captions first; the empty rows below the last with text are left out.
    select(0, 1, 1, 19);
    EXPECT_EQ(copied(), "  Вещество\tМоляр.масса\nSiO2\t60,0848\nNa2O\t61,979\n");

    Shown summary(Layout::HeaderColumn);
    summary.view->selectionModel()->select(summary.model()->indexForCell(1, 0), QItemSelectionModel::Select);
    summary.view->setFocus();
    QTest::keyClick(summary.view.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Моль, %\t75,0 SiO2-25,0 Na2O\n");
}
