#include "app/GlassWindow.h"

#include "analysis/WindowPlacement.h"
#include "app/GlassPropertiesPanel.h"
#include "app/HintFilter.h"
#include "app/MainWindow.h"
#include "app/RawMaterialDelegate.h"
#include "app/StringGrid.h"
#include "batch/BatchTables.h"
#include "batch/Failure.h"
#include "batch/GlassResultTables.h"
#include "chemistry/GlassBatchSetup.h"
#include "chemistry/OxideYield.h"
#include "properties/GlassProperties.h"
#include "storage/CompositionFile.h"
#include "storage/DataRoot.h"
#include "storage/RawMaterialsFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const kFileFilter = "Состав стекла (*.csv)|*.csv";
QLineEdit* numberField(QWidget* parent, const QString& name, const QString& text, const QString& hint) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setStatusTip(hint);
    field->setFixedWidth(90);
    return field;
}

} // namespace

GlassWindow::GlassWindow(MainWindow& mainWindow, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), compositionTable(batch::kCompositionColumns, batch::kCompositionRows + 1),
      resultTable(batch::kGlassResultColumns, batch::kCompositionRows + 1),
      glassOxidesTable(batch::kGlassResultColumns, static_cast<int>(chemistry::glassOxides().size()) + 1),
      summaryTable(2, batch::kGlassSummaryRows), mainWindow_(mainWindow), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FormGlass"));
    setWindowTitle(QStringLiteral("Шихта по составу стекла"));
    QFont baseFont = font();
    baseFont.setFamily(QStringLiteral("DejaVu Sans"));
    baseFont.setPointSize(8);
    setFont(baseFont);

    for (int c = 0; c < batch::kCompositionColumns; ++c)
        compositionTable.setCell(c, 0, QString::fromUtf8(batch::kCompositionHeaders[c]));
    batch::setUpGlassResultTables(resultTable, glassOxidesTable, summaryTable);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    auto* top = new QHBoxLayout;
    top->addWidget(buildCompositionBox(), 1);
    top->addWidget(buildCalculationBox());
    layout->addLayout(top, 1);
    glassTabs = new QTabWidget(this);
    glassTabs->setObjectName(QStringLiteral("GlassTabs"));
    glassTabs->addTab(buildResultBox(), QStringLiteral("Шихта"));
    propertiesPanel = new GlassPropertiesPanel(dialogs_, glassTabs);
    glassTabs->addTab(propertiesPanel, QStringLiteral("Свойства стекла"));
    layout->addWidget(glassTabs, 1);

    hintBar = new QStatusBar(this);
    hintBar->setObjectName(QStringLiteral("GlassStatusBar"));
    hintBar->setSizeGripEnabled(false);
    hintBar->setFixedHeight(19);
    layout->addWidget(hintBar);
    hints_ = new WindowHintFilter(hintBar, this);
    QCoreApplication::instance()->installEventFilter(hints_);

    // Room for the properties' table and curve below the composition, within the screen.
    resize(QSize(960, 700).boundedTo(screen()->availableGeometry().size()));
}

QGroupBox* GlassWindow::buildCompositionBox() {
    auto* box = new QGroupBox(QStringLiteral("Состав стекла :"), this);
    box->setObjectName(QStringLiteral("GlassCompositionBox"));
    auto* boxLayout = new QVBoxLayout(box);
    compositionGrid = new StringGrid(&compositionTable, TextGridModel::Layout::HeaderRow, box);
    compositionGrid->setObjectName(QStringLiteral("GlassGrid"));
    compositionGrid->setStatusTip(
        QStringLiteral("Состав стекла: оксид, его содержание и сырьё, которое его вносит (выбор из списка "
                       "или своя формула)"));
    const int compositionWidths[batch::kCompositionColumns] = {46, 70, 124, 64, 76, 92, 140};
    for (int c = 0; c < batch::kCompositionColumns; ++c)
        compositionGrid->setColumnWidthPixels(c, compositionWidths[c]);
    compositionGrid->setItemDelegateForColumn(
        batch::kMaterialColumn,
        new RawMaterialDelegate(compositionGrid->itemDelegate(), library_, compositionGrid));
    // The library's moisture and purity of a row's material show greyed where the cell is empty.
    compositionGrid->textModel()->setCellHint(
        [this](int column, int row) { return libraryHint(column, row); });
    connect(&compositionTable, &batch::TextGrid::cellChanged, this, [this](int column, int row) {
        if (column != batch::kMaterialColumn)
            return;
        compositionGrid->textModel()->hintsChanged(batch::kPurityColumn, row, row);
        compositionGrid->textModel()->hintsChanged(batch::kMoistureColumn, row, row);
    });
    compositionGrid->setMinimumSize(600, 270);
    compositionGrid->horizontalHeader()->setStretchLastSection(true);
    boxLayout->addWidget(compositionGrid);
    return box;
}

QGroupBox* GlassWindow::buildCalculationBox() {
    auto* box = new QGroupBox(QStringLiteral("Расчёт :"), this);
    box->setObjectName(QStringLiteral("GlassInputsBox"));
    auto* boxLayout = new QGridLayout(box);
    molePercentCheckBox = new QCheckBox(QStringLiteral("Содержание в мольных %"), box);
    molePercentCheckBox->setObjectName(QStringLiteral("GlassMolePercent"));
    molePercentCheckBox->setStatusTip(
        QStringLiteral("Содержание оксидов задано в мольных процентах, иначе в массовых"));
    boxLayout->addWidget(molePercentCheckBox, 0, 0, 1, 2);
    glassMassEdit = numberField(box, QStringLiteral("GlassMass"), QStringLiteral("100"),
                                QStringLiteral("Масса стекла, которую нужно получить, г"));
    boxLayout->addWidget(new QLabel(QStringLiteral("Масса стекла, г :"), box), 1, 0);
    boxLayout->addWidget(glassMassEdit, 1, 1);
    culletEdit = numberField(box, QStringLiteral("GlassCullet"), QStringLiteral("0"),
                             QStringLiteral("Доля стекла, получаемая из стеклобоя того же состава, %"));
    boxLayout->addWidget(new QLabel(QStringLiteral("Стеклобой, % :"), box), 2, 0);
    boxLayout->addWidget(culletEdit, 2, 1);
    calculateBatchButton = commandButton(QStringLiteral("GlassCalculate"), QStringLiteral("Рассчитать"),
                                         QStringLiteral("Рассчитать шихту для заданного состава стекла"),
                                         &GlassWindow::calculateBatch);
    transferToBatchTableButton =
        commandButton(QStringLiteral("GlassToBatch"), QStringLiteral("В таблицу навесок"),
                      QStringLiteral("Перенести сырьё в таблицу навесок и рассчитать навески"),
                      &GlassWindow::transferToBatchTable);
    saveCompositionButton =
        commandButton(QStringLiteral("GlassSave"), QStringLiteral("Сохранить состав..."),
                      QStringLiteral("Сохранить состав стекла в файл CSV"), &GlassWindow::saveComposition);
    loadCompositionButton =
        commandButton(QStringLiteral("GlassLoad"), QStringLiteral("Загрузить состав..."),
                      QStringLiteral("Загрузить состав стекла из файла CSV"), &GlassWindow::loadComposition);
    clearAllButton = commandButton(QStringLiteral("GlassClear"), QStringLiteral("Очистить"),
                                   QStringLiteral("Очистить состав и результат"), &GlassWindow::clearAll);
    materialsButton = commandButton(QStringLiteral("GlassMaterials"), QStringLiteral("Справочник сырья..."),
                                    QStringLiteral("Открыть справочник сырья: анализы, влажность, цены"),
                                    &GlassWindow::showMaterialsWindow);
    int row = 3;
    for (QPushButton* key : {calculateBatchButton, transferToBatchTableButton, saveCompositionButton,
                             loadCompositionButton, clearAllButton, materialsButton}) {
        key->setParent(box);
        boxLayout->addWidget(key, row++, 0, 1, 2);
    }
    boxLayout->setRowStretch(row, 1);
    box->setFixedWidth(230);
    return box;
}

QGroupBox* GlassWindow::buildResultBox() {
    // The page "Шихта" of the window's lower tabs names the box already.
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GlassResultBox"));
    box->setFlat(true);
    auto* boxLayout = new QHBoxLayout(box);
    const auto table = [box](batch::TextGrid* cells, const char* name, const QString& hint,
                             std::initializer_list<int> widths) {
        auto* grid = new StringGrid(cells, TextGridModel::Layout::HeaderRow, box);
        grid->setObjectName(QString::fromLatin1(name));
        grid->setStatusTip(hint);
        grid->setEditing(false);
        int column = 0;
        for (const int width : widths)
            grid->setColumnWidthPixels(column++, width);
        grid->horizontalHeader()->setStretchLastSection(true);
        return grid;
    };
    resultGrid =
        table(&resultTable, "GlassResult",
              QStringLiteral("Навески сырья: как взвешивают (влажного, с примесями) и сухого, и доля "
                             "в шихте"),
              {104, 62, 58, 62});
    resultGrid->setMinimumWidth(303);
    boxLayout->addWidget(resultGrid, 3);
    glassOxidesGrid =
        table(&glassOxidesTable, "GlassOxides",
              QStringLiteral("Состав стекла, который даёт эта шихта, и заданный состав; оксиды сверх состава "
                             "— без заданного содержания"),
              {46, 90, 86, 58});
    glassOxidesGrid->setMinimumWidth(297);
    boxLayout->addWidget(glassOxidesGrid, 3);
    summaryGrid = new StringGrid(&summaryTable, TextGridModel::Layout::HeaderColumn, box);
    summaryGrid->setObjectName(QStringLiteral("GlassSummary"));
    summaryGrid->setStatusTip(QStringLiteral("Общая информация о шихте"));
    summaryGrid->setEditing(false);
    // Long texts (the gases, the materials without a price) show whole in the cell's tooltip.
    summaryGrid->setColumnWidthPixels(0, 150);
    summaryGrid->setColumnWidthPixels(1, 120);
    summaryGrid->setMinimumWidth(272);
    summaryGrid->horizontalHeader()->setStretchLastSection(true);
    boxLayout->addWidget(summaryGrid, 3);
    return box;
}

GlassWindow::~GlassWindow() {
    QCoreApplication::instance()->removeEventFilter(hints_);
}

void GlassWindow::present() {
    presentWindow(this);
    refreshLibrary(false);
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
            if (!compositionTable.cell(c, r).trimmed().isEmpty())
                last = r;
    for (int r = 1; r <= last; ++r) {
        batch::CompositionRowText row;
        for (int c = 0; c < batch::kCompositionColumns; ++c)
            row[static_cast<size_t>(c)] = compositionTable.cell(c, r);
        sheet.rows.push_back(row);
    }
    sheet.molePercent = molePercentCheckBox->isChecked();
    sheet.glassMass = glassMassEdit->text();
    sheet.cullet = culletEdit->text();
    return sheet;
}

void GlassWindow::setSheet(const batch::GlassCompositionSheet& sheet) {
    batch::clearSubstanceRows(compositionTable);
    for (size_t r = 0; r < sheet.rows.size() && r < batch::kCompositionRows; ++r)
        for (int c = 0; c < batch::kCompositionColumns; ++c)
            compositionTable.setCell(c, static_cast<int>(r) + 1, sheet.rows[r][static_cast<size_t>(c)]);
    molePercentCheckBox->setChecked(sheet.molePercent);
    glassMassEdit->setText(sheet.glassMass);
    culletEdit->setText(sheet.cullet);
}

void GlassWindow::showResult(const batch::GlassBatchProblem& problem, const batch::GlassBatchResult& result) {
    summaryGrid->setToolTip(
        batch::writeGlassBatchResult(problem, result, resultTable, glassOxidesTable, summaryTable));
}

batch::GlassBatchProblem GlassWindow::prepareBatch(const batch::GlassCompositionSheet& sheet) {
    refreshLibrary(false);
    return chemistry::prepareGlassBatch(sheet, library_);
}

void GlassWindow::calculateBatch() {
    const batch::GlassCompositionSheet typed = sheet();
    // Without raw materials the glass is judged alone: its properties and no batch, or the fault
    // of the composition itself.
    if (chemistry::namesNoRawMaterial(typed)) {
        clearResult();
        propertiesPanel->clear();
        propertiesPanel->showProperties(properties::glassProperties(properties::compositionOfSheet(typed)));
        glassTabs->setCurrentWidget(propertiesPanel);
        return;
    }
    calculateAndShowBatch(typed, properties::typedComposition(typed));
}

GlassWindow::CalculatedBatch
GlassWindow::calculateAndShowBatch(const batch::GlassCompositionSheet& typed,
                                   const std::optional<properties::GlassComposition>& composition) {
    try {
        CalculatedBatch batch;
        batch.problem = prepareBatch(typed);
        batch.result = batch::solveGlassBatch(batch.problem);
        showResult(batch.problem, batch.result);
        propertiesPanel->showProperties(
            properties::glassProperties(properties::batchComposition(batch.result)));
        return batch;
    } catch (const batch::Failure&) {
        // The batch's message is shown as ever; the properties are those of the glass as typed.
        if (composition)
            propertiesPanel->showProperties(properties::glassProperties(*composition));
        else
            propertiesPanel->clear();
        throw;
    }
}

void GlassWindow::transferToBatchTable() {
    const batch::GlassCompositionSheet typed = sheet();
    const auto [problem, result] = calculateAndShowBatch(typed, properties::typedComposition(typed));
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

void GlassWindow::saveComposition() {
    const std::optional<QString> path = saveFileNameWithExtension(
        dialogs_, this, QString::fromUtf8(kFileFilter), QStringLiteral(".csv"), lastFileName_);
    if (path)
        storage::writeCompositionFile(*path, sheet());
}

void GlassWindow::loadComposition() {
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

void GlassWindow::clearAll() {
    batch::clearSubstanceRows(compositionTable);
    clearResult();
    propertiesPanel->clear();
}

void GlassWindow::clearResult() {
    batch::clearGlassBatchResult(resultTable, glassOxidesTable, summaryTable);
    summaryGrid->setToolTip(QString());
}

void GlassWindow::showMaterialsWindow() {
    if (openMaterialsWindow)
        openMaterialsWindow();
}

void GlassWindow::reloadLibrary() {
    refreshLibrary(true);
}

void GlassWindow::refreshLibrary(bool always) {
    const QString path = storage::rawMaterialsFilePath();
    const storage::FileStamp stamp = storage::fileStamp(path);
    if (!always && stamp == libraryStamp_)
        return;
    libraryStamp_ = stamp;
    try {
        library_ = storage::readRawMaterialLibrary(path);
    } catch (const batch::Failure& failure) {
        // Shown once: the file is read again only when it has changed.
        library_ = chemistry::RawMaterialLibrary();
        dialogs_.showFailure(this, failure.message());
    }
    compositionGrid->textModel()->hintsChanged(batch::kPurityColumn, 1, batch::kCompositionRows);
    compositionGrid->textModel()->hintsChanged(batch::kMoistureColumn, 1, batch::kCompositionRows);
}

QString GlassWindow::libraryHint(int column, int row) const {
    if (column != batch::kMoistureColumn && column != batch::kPurityColumn)
        return QString();
    const chemistry::RawMaterial* material =
        library_.find(compositionTable.cell(batch::kMaterialColumn, row));
    if (!material)
        return QString();
    if (column == batch::kMoistureColumn)
        return chemistry::rawMaterialNumberText(material->moisture, batch::decimalSeparator());
    return material->byFormula()
               ? chemistry::rawMaterialNumberText(material->purity, batch::decimalSeparator())
               : QString();
}
