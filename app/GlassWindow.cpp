#include "app/GlassWindow.h"

#include "analysis/WindowPlacement.h"
#include "app/HintFilter.h"
#include "app/MainWindow.h"
#include "app/StringGrid.h"
#include "batch/BatchTables.h"
#include "batch/Failure.h"
#include "chemistry/GlassBatchSetup.h"
#include "chemistry/GlassRawMaterials.h"
#include "storage/CompositionFile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kMaterialSeparator = QStringLiteral(" — ");
const char* const kFileFilter = "Состав стекла (*.csv)|*.csv";
const char* const kResultHeaders[] = {"  Сырьё", " Навеска, г",       "В шихте, %",
                                      "Оксид",   "В стекле, масс. %", "В стекле, мол. %"};
const char* const kSummaryLabels[] = {"Шихта, г", "Стеклобой, г", "Стекло из шихты, г", "Газы, г",
                                      "Выход стекла, %"};
constexpr int kSummaryRows = 5;

QString grams(batch::Extended value) {
    return batch::fixedText(value, 15, 4);
}

// The "Сырьё" cells: a list of common raw materials by name and formula; a formula typed in is
// taken as it stands. The cell keeps the formula only.
class RawMaterialDelegate : public QStyledItemDelegate {
public:
    RawMaterialDelegate(QAbstractItemDelegate* painter, QObject* parent)
        : QStyledItemDelegate(parent), painter_(painter) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
        auto* box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("GlassRawMaterial"));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMaxVisibleItems(30);
        // The list shows name and formula in full, wider than the cell.
        box->view()->setMinimumWidth(300);
        for (const chemistry::GlassRawMaterial& material : chemistry::glassRawMaterials())
            box->addItem(material.formula + kMaterialSeparator + material.name);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setEditText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        QString text = static_cast<QComboBox*>(editor)->currentText();
        const qsizetype separator = text.indexOf(kMaterialSeparator);
        if (separator >= 0)
            text.truncate(separator);
        model->setData(index, text.trimmed(), Qt::EditRole);
    }
    // Drawn like every other cell of the table, grid lines included.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter_->paint(painter, option, index);
    }

private:
    QAbstractItemDelegate* painter_;
};

// The window's own status bar shows the hints of its controls only.
class WindowHints : public HintFilter {
public:
    WindowHints(QStatusBar* bar, QWidget* window) : HintFilter(bar, window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != window_)
            return false;
        HintFilter::eventFilter(watched, event);
        return false;
    }

private:
    QWidget* window_;
};

QLineEdit* numberField(QWidget* parent, const QString& name, const QString& text, const QString& hint) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setStatusTip(hint);
    field->setFixedWidth(90);
    return field;
}

} // namespace

GlassWindow::GlassWindow(MainWindow& mainWindow, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), Composition(batch::kCompositionColumns, batch::kCompositionRows + 1),
      Result(6, batch::kCompositionRows + 1), Summary(2, kSummaryRows), mainWindow_(mainWindow),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("FormGlass"));
    setWindowTitle(QStringLiteral("Шихта по составу стекла"));
    QFont baseFont = font();
    baseFont.setFamily(QStringLiteral("DejaVu Sans"));
    baseFont.setPointSize(8);
    setFont(baseFont);

    for (int c = 0; c < batch::kCompositionColumns; ++c)
        Composition.setCell(c, 0, QString::fromUtf8(batch::kCompositionHeaders[c]));
    for (int c = 0; c < 6; ++c)
        Result.setCell(c, 0, QString::fromUtf8(kResultHeaders[c]));
    for (int r = 0; r < kSummaryRows; ++r)
        Summary.setCell(0, r, QString::fromUtf8(kSummaryLabels[r]));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);

    auto* top = new QHBoxLayout;
    auto* compositionBox = new QGroupBox(QStringLiteral("Состав стекла :"), this);
    compositionBox->setObjectName(QStringLiteral("GlassCompositionBox"));
    auto* compositionLayout = new QVBoxLayout(compositionBox);
    GlassGrid = new StringGrid(&Composition, TextGridModel::Layout::HeaderRow, compositionBox);
    GlassGrid->setObjectName(QStringLiteral("GlassGrid"));
    GlassGrid->setStatusTip(
        QStringLiteral("Состав стекла: оксид, его содержание и сырьё, которое его вносит (выбор из списка "
                       "или своя формула)"));
    const int compositionWidths[] = {62, 82, 150, 78, 92, 110};
    for (int c = 0; c < batch::kCompositionColumns; ++c)
        GlassGrid->setColumnWidthPixels(c, compositionWidths[c]);
    GlassGrid->setItemDelegateForColumn(2, new RawMaterialDelegate(GlassGrid->itemDelegate(), GlassGrid));
    GlassGrid->setMinimumSize(600, 270);
    GlassGrid->horizontalHeader()->setStretchLastSection(true);
    compositionLayout->addWidget(GlassGrid);
    top->addWidget(compositionBox, 1);

    auto* inputs = new QGroupBox(QStringLiteral("Расчёт :"), this);
    inputs->setObjectName(QStringLiteral("GlassInputsBox"));
    auto* inputLayout = new QGridLayout(inputs);
    GlassMolePercent = new QCheckBox(QStringLiteral("Содержание в мольных %"), inputs);
    GlassMolePercent->setObjectName(QStringLiteral("GlassMolePercent"));
    GlassMolePercent->setStatusTip(
        QStringLiteral("Содержание оксидов задано в мольных процентах, иначе в массовых"));
    inputLayout->addWidget(GlassMolePercent, 0, 0, 1, 2);
    GlassMass = numberField(inputs, QStringLiteral("GlassMass"), QStringLiteral("100"),
                            QStringLiteral("Масса стекла, которую нужно получить, г"));
    inputLayout->addWidget(new QLabel(QStringLiteral("Масса стекла, г :"), inputs), 1, 0);
    inputLayout->addWidget(GlassMass, 1, 1);
    GlassCullet = numberField(inputs, QStringLiteral("GlassCullet"), QStringLiteral("0"),
                              QStringLiteral("Доля стекла, получаемая из стеклобоя того же состава, %"));
    inputLayout->addWidget(new QLabel(QStringLiteral("Стеклобой, % :"), inputs), 2, 0);
    inputLayout->addWidget(GlassCullet, 2, 1);
    GlassCalculate = commandButton(QStringLiteral("GlassCalculate"), QStringLiteral("Рассчитать"),
                                   QStringLiteral("Рассчитать шихту для заданного состава стекла"),
                                   &GlassWindow::GlassCalculateClick);
    GlassToBatch = commandButton(QStringLiteral("GlassToBatch"), QStringLiteral("В таблицу навесок"),
                                 QStringLiteral("Перенести сырьё в таблицу навесок и рассчитать навески"),
                                 &GlassWindow::GlassToBatchClick);
    GlassSave =
        commandButton(QStringLiteral("GlassSave"), QStringLiteral("Сохранить состав..."),
                      QStringLiteral("Сохранить состав стекла в файл CSV"), &GlassWindow::GlassSaveClick);
    GlassLoad =
        commandButton(QStringLiteral("GlassLoad"), QStringLiteral("Загрузить состав..."),
                      QStringLiteral("Загрузить состав стекла из файла CSV"), &GlassWindow::GlassLoadClick);
    GlassClear = commandButton(QStringLiteral("GlassClear"), QStringLiteral("Очистить"),
                               QStringLiteral("Очистить состав и результат"), &GlassWindow::GlassClearClick);
    int row = 3;
    for (QPushButton* key : {GlassCalculate, GlassToBatch, GlassSave, GlassLoad, GlassClear}) {
        key->setParent(inputs);
        inputLayout->addWidget(key, row++, 0, 1, 2);
    }
    inputLayout->setRowStretch(row, 1);
    inputs->setFixedWidth(230);
    top->addWidget(inputs);
    layout->addLayout(top, 1);

    auto* resultBox = new QGroupBox(QStringLiteral("Шихта :"), this);
    resultBox->setObjectName(QStringLiteral("GlassResultBox"));
    auto* resultLayout = new QHBoxLayout(resultBox);
    GlassResult = new StringGrid(&Result, TextGridModel::Layout::HeaderRow, resultBox);
    GlassResult->setObjectName(QStringLiteral("GlassResult"));
    GlassResult->setStatusTip(
        QStringLiteral("Навески сырья (влажного, с примесями) и состав стекла, который даёт эта шихта"));
    GlassResult->setEditing(false);
    const int resultWidths[] = {110, 90, 80, 62, 110, 110};
    for (int c = 0; c < 6; ++c)
        GlassResult->setColumnWidthPixels(c, resultWidths[c]);
    GlassResult->setMinimumSize(580, 230);
    GlassResult->horizontalHeader()->setStretchLastSection(true);
    resultLayout->addWidget(GlassResult, 1);
    GlassSummary = new StringGrid(&Summary, TextGridModel::Layout::HeaderColumn, resultBox);
    GlassSummary->setObjectName(QStringLiteral("GlassSummary"));
    GlassSummary->setStatusTip(QStringLiteral("Общая информация о шихте"));
    GlassSummary->setEditing(false);
    GlassSummary->setColumnWidthPixels(0, 120);
    GlassSummary->setColumnWidthPixels(1, 200);
    GlassSummary->setFixedWidth(330);
    GlassSummary->horizontalHeader()->setStretchLastSection(true);
    resultLayout->addWidget(GlassSummary);
    layout->addWidget(resultBox, 1);

    GlassStatusBar = new QStatusBar(this);
    GlassStatusBar->setObjectName(QStringLiteral("GlassStatusBar"));
    GlassStatusBar->setSizeGripEnabled(false);
    GlassStatusBar->setFixedHeight(19);
    layout->addWidget(GlassStatusBar);
    hints_ = new WindowHints(GlassStatusBar, this);
    QCoreApplication::instance()->installEventFilter(hints_);

    resize(920, 640);
}

GlassWindow::~GlassWindow() {
    QCoreApplication::instance()->removeEventFilter(hints_);
}

void GlassWindow::present() {
    presentWindow(this);
}

void GlassWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(this, placed_);
    QWidget::showEvent(event);
}

QPushButton* GlassWindow::commandButton(const QString& name, const QString& caption, const QString& hint,
                                        void (GlassWindow::*handler)()) {
    auto* key = new QPushButton(caption, this);
    key->setObjectName(name);
    key->setStatusTip(hint);
    key->setMinimumHeight(27);
    connect(key, &QPushButton::clicked, this,
            [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    return key;
}

void GlassWindow::guarded(const std::function<void()>& handler) {
    batch::runGuarded(handler, [this](const QString& message) { dialogs_.showFailure(this, message); });
}

batch::GlassCompositionSheet GlassWindow::sheet() const {
    batch::GlassCompositionSheet sheet;
    int last = 0; // rows after the last one with any text are not part of the composition
    for (int r = 1; r <= batch::kCompositionRows; ++r)
        for (int c = 0; c < batch::kCompositionColumns; ++c)
            if (!Composition.cell(c, r).trimmed().isEmpty())
                last = r;
    for (int r = 1; r <= last; ++r) {
        batch::CompositionRowText row;
        for (int c = 0; c < batch::kCompositionColumns; ++c)
            row[static_cast<size_t>(c)] = Composition.cell(c, r);
        sheet.rows.push_back(row);
    }
    sheet.molePercent = GlassMolePercent->isChecked();
    sheet.glassMass = GlassMass->text();
    sheet.cullet = GlassCullet->text();
    return sheet;
}

void GlassWindow::setSheet(const batch::GlassCompositionSheet& sheet) {
    batch::clearSubstanceRows(Composition);
    for (size_t r = 0; r < sheet.rows.size() && r < batch::kCompositionRows; ++r)
        for (int c = 0; c < batch::kCompositionColumns; ++c)
            Composition.setCell(c, static_cast<int>(r) + 1, sheet.rows[r][static_cast<size_t>(c)]);
    GlassMolePercent->setChecked(sheet.molePercent);
    GlassMass->setText(sheet.glassMass);
    GlassCullet->setText(sheet.cullet);
}

void GlassWindow::showResult(const batch::GlassBatchProblem& problem, const batch::GlassBatchResult& result) {
    batch::clearSubstanceRows(Result);
    for (size_t i = 0; i < problem.materials.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        Result.setCell(0, r, problem.materials[i].formula);
        Result.setCell(1, r, grams(result.weighed[i]));
        Result.setCell(2, r, grams(result.batchShare[i]));
        Result.setCell(3, r, problem.oxides[i].oxide);
        Result.setCell(4, r, grams(result.glassMassPercent[i]));
        Result.setCell(5, r, grams(result.glassMolePercent[i]));
    }
    QStringList gases;
    const auto add = [&gases](const QString& label, batch::Extended value) {
        // Traces of rounding are no gas.
        if (std::fabs(value) > 5e-5L)
            gases << label + u' ' + grams(value);
    };
    add(QStringLiteral("CO2"), result.carbonDioxide);
    add(QStringLiteral("H2O"), result.water);
    add(QStringLiteral("NOx, O2"), result.otherGases);
    add(QStringLiteral("улетучилось"), result.volatilised);
    add(QStringLiteral("примеси"), result.impurities);
    Summary.setCell(1, 0, grams(result.batchMass));
    Summary.setCell(1, 1, grams(result.culletMass));
    Summary.setCell(1, 2, grams(result.glassFromBatch));
    Summary.setCell(1, 3, gases.join(QStringLiteral("; ")));
    Summary.setCell(1, 4, grams(result.glassYield));
    GlassSummary->setToolTip(gases.join(u'\n'));
}

void GlassWindow::GlassCalculateClick() {
    const batch::GlassBatchProblem problem = chemistry::prepareGlassBatch(sheet());
    showResult(problem, batch::solveGlassBatch(problem));
}

void GlassWindow::GlassToBatchClick() {
    const batch::GlassBatchProblem problem = chemistry::prepareGlassBatch(sheet());
    const batch::GlassBatchResult result = batch::solveGlassBatch(problem);
    showResult(problem, result);
    const std::vector<batch::BatchTableRow> rows = batch::batchTableRows(problem, result);
    const int room = std::min(batch::kLastSubstanceRow, mainWindow_.batchTable.rowCount() - 1);
    if (static_cast<int>(rows.size()) > room) {
        dialogs_.showMessage(this,
                             QStringLiteral("В таблицу навесок помещается не более %1 веществ!").arg(room));
        return;
    }
    if (batch::countFilledRows(mainWindow_.batchTable) > 0 &&
        dialogs_.askYesNo(this, QStringLiteral("Заменить содержимое таблицы навесок?")) !=
            Dialogs::Answer::Yes)
        return;
    mainWindow_.clearBatchTable();
    for (const batch::BatchTableRow& row : rows)
        batch::addSubstanceRow(mainWindow_.batchTable,
                               {row.formula, row.molarMass, row.moleFraction, row.totalMass});
    mainWindow_.batchRowCount = static_cast<int>(rows.size());
    mainWindow_.tableTabs->setCurrentWidget(mainWindow_.batchTab);
    mainWindow_.guarded([this] { mainWindow_.calculateBatch(); });
}

void GlassWindow::GlassSaveClick() {
    const std::optional<QString> name =
        dialogs_.saveFileName(this, QString::fromUtf8(kFileFilter), lastFileName_);
    if (!name)
        return;
    QString path = *name;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    lastFileName_ = path;
    storage::writeCompositionFile(path, sheet());
}

void GlassWindow::GlassLoadClick() {
    const std::optional<QString> name =
        dialogs_.openFileName(this, QString::fromUtf8(kFileFilter), lastFileName_);
    if (!name)
        return;
    lastFileName_ = *name;
    // A file whose last row has no line end loads, but the user hears that it may be cut.
    int unendedLine = 0;
    setSheet(storage::readCompositionFile(*name, &unendedLine));
    if (unendedLine > 0)
        dialogs_.showMessage(this, storage::unendedFileMessage(*name, unendedLine));
}

void GlassWindow::GlassClearClick() {
    batch::clearSubstanceRows(Composition);
    batch::clearSubstanceRows(Result);
    for (int r = 0; r < kSummaryRows; ++r)
        Summary.setCell(1, r, QString());
    GlassSummary->setToolTip(QString());
}
