#include "app/MainWindow.h"

#include "analysis/AnalysisWindow.h"
#include "app/AboutWindow.h"
#include "app/HelpFile.h"
#include "app/HintFilter.h"
#include "app/SettingsWindow.h"
#include "app/StringGrid.h"
#include "batch/BatchTables.h"
#include "batch/Failure.h"
#include "chemistry/Catalogue.h"
#include "chemistry/ElementTable.h"
#include "storage/DataRoot.h"
#include "storage/ProfileFile.h"
#include "storage/SettingsKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <typename T> T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QGroupBox* groupBox(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                    const QRect& geometry) {
    auto* box = named(new QGroupBox(caption, parent), name);
    box->setGeometry(geometry);
    if (!hint.isEmpty())
        box->setStatusTip(hint);
    return box;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry) {
    auto* key = named(new QPushButton(caption, parent), name);
    key->setGeometry(geometry);
    key->setFocusPolicy(Qt::TabFocus);
    return key;
}

void makeBoldColoured(QPushButton* key, const QColor& colour) {
    QFont font = key->font();
    font.setBold(true);
    key->setFont(font);
    QPalette palette = key->palette();
    palette.setColor(QPalette::ButtonText, colour);
    key->setPalette(palette);
}

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), lastChosenColour_(Qt::white) {
    openUrl = [self = QPointer<MainWindow>(this)](const QUrl& url) {
        return openWithDesktop(url, [self, url] {
            if (self)
                self->dialogs_.showMessage(self, helpNotOpenedMessage(url.toLocalFile()));
        });
    };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Вельтрона Вер. 1.0"));
    QFont baseFont = font();
    baseFont.setFamily(QStringLiteral("DejaVu Sans"));
    baseFont.setPointSize(8);
    setFont(baseFont);
    colourValues_.fill(storage::kSystemFaceColour);

    buildMenu();
    buildToolBar();

    auto* central = named(new QWidget(this), QStringLiteral("WorkingArea"));
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(buildEntryColumn());
    columns->addWidget(buildCatalogueColumn(), 1);
    columns->addWidget(buildTableColumn());
    setCentralWidget(central);

    hintBar = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    hintBar->setFixedHeight(19);
    hintBar->setSizeGripEnabled(false);
    setStatusBar(hintBar);

    refreshTimer = named(new QTimer(this), QStringLiteral("Timer1"));
    refreshTimer->setInterval(100);
    connect(refreshTimer, &QTimer::timeout, this, [this] { guarded([this] { refreshControls(); }); });

    setUpCalculation();
    refreshTimer->start();

    resize(1137, 807);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }
}

MainWindow::~MainWindow() = default;

void MainWindow::attachWindows(SettingsWindow* settings, std::function<AboutWindow*()> makeAbout,
                               std::function<AnalysisWindow*()> makeAnalysis) {
    settingsWindow_ = settings;
    makeAbout_ = std::move(makeAbout);
    makeAnalysis_ = std::move(makeAnalysis);
}

AboutWindow* MainWindow::aboutWindow() {
    if (!aboutWindow_ && makeAbout_)
        aboutWindow_ = makeAbout_();
    return aboutWindow_;
}

AnalysisWindow* MainWindow::analysisWindow() {
    if (!analysisWindow_ && makeAnalysis_) {
        analysisWindow_ = makeAnalysis_();
        linkAnalysisWindow();
    }
    return analysisWindow_;
}

QWidget* MainWindow::buildEntryColumn() {
    entryPanel = named(new QWidget(this), QStringLiteral("Panel2"));
    entryPanel->setFixedWidth(513);
    entryPanel->setAutoFillBackground(true);
    buildElementKeys();
    buildDigitAndSymbolKeys();
    buildFormulaFields();
    return entryPanel;
}

void MainWindow::buildElementKeys() {
    // The short-form periodic table, then after a gap the two rows of fourteen.
    periodicTableBox =
        groupBox(entryPanel, QStringLiteral("GroupBox3"),
                 QStringLiteral("Периодическая система химических элементов :"),
                 QStringLiteral("Периодическая система химических элементов"), QRect(4, 2, 505, 340));
    periodicTableBox->setAutoFillBackground(true);
    for (const chemistry::ElementKey& element : chemistry::elementKeys()) {
        const int left = (element.row <= 10 ? 72 : 24) + 32 * element.column;
        const int top = 16 + 24 * (element.row - 1);
        // "Button1" to "Button111", by key number.
        auto* key = button(periodicTableBox, QStringLiteral("Button%1").arg(element.key), element.symbol,
                           QRect(left, top, 33, 25));
        const int number = element.key;
        connect(key, &QPushButton::clicked, this,
                [this, number] { guarded([this, number] { pressElementKey(number); }); });
        elementKeys[static_cast<size_t>(element.key - 1)] = key;
    }
}

void MainWindow::buildDigitAndSymbolKeys() {
    optionsBox = groupBox(entryPanel, QStringLiteral("GroupBox1"), QStringLiteral("Опции :"),
                          QStringLiteral("Опции"), QRect(4, 346, 505, 82));
    optionsBox->setAutoFillBackground(true);
    digitKeysBox = groupBox(optionsBox, QStringLiteral("GroupBox6"), QStringLiteral("Ввод цифр :"),
                            QStringLiteral("Ввод цифр в формулу"), QRect(8, 18, 344, 58));
    digitKeysBox->setAutoFillBackground(true);
    digitKeyPanel = named(new QWidget(digitKeysBox), QStringLiteral("Panel7"));
    digitKeyPanel->setGeometry(6, 20, 332, 32);
    digitKeyPanel->setAutoFillBackground(true);
    for (int digit = 1; digit <= 9; ++digit) {
        // "btn1" to "btn9".
        auto* key = button(digitKeyPanel, QStringLiteral("btn%1").arg(digit), QString::number(digit),
                           QRect(2 + 33 * (digit - 1), 3, 30, 26));
        connect(key, &QPushButton::clicked, this,
                [this, digit] { guarded([this, digit] { pressDigitKey(digit); }); });
        digitKeys[static_cast<size_t>(digit - 1)] = key;
    }
    zeroKey = button(digitKeyPanel, QStringLiteral("SpeedButton3"), QStringLiteral("0"),
                     QRect(2 + 33 * 9, 3, 30, 26));
    runOn(zeroKey, &QPushButton::clicked, &MainWindow::pressZeroKey);

    symbolKeysBox = groupBox(optionsBox, QStringLiteral("GroupBox7"), QStringLiteral("Ввод символов :"),
                             QStringLiteral("Ввод символов"), QRect(358, 18, 139, 58));
    hydrateKey =
        button(symbolKeysBox, QStringLiteral("Button119"), QStringLiteral("X"), QRect(8, 23, 30, 28));
    waterKey = button(symbolKeysBox, QStringLiteral("SpeedButton5"), QString(), QRect(42, 23, 50, 28));
    waterKey->setIcon(QIcon(QStringLiteral(":/water.png")));
    waterKey->setIconSize(QSize(32, 24));
    plusKey = button(symbolKeysBox, QStringLiteral("Button120"), QStringLiteral("+"), QRect(96, 23, 30, 28));
    runOn(hydrateKey, &QPushButton::clicked, &MainWindow::pressHydrateKey);
    runOn(waterKey, &QPushButton::clicked, &MainWindow::pressWaterKey);
    runOn(plusKey, &QPushButton::clicked, &MainWindow::pressPlusKey);
}

void MainWindow::buildFormulaFields() {
    // Each field in its own group with its unit, then the three command keys.
    const auto field = [this](const QString& boxName, const QString& caption, const QString& hint, int top,
                              const QString& editName, const QString& unit) {
        QGroupBox* box = groupBox(entryPanel, boxName, caption, hint, QRect(4, top, 330, 50));
        auto* edit = named(new QLineEdit(box), editName);
        edit->setGeometry(10, 20, unit.isEmpty() ? 310 : 250, 22);
        if (!unit.isEmpty()) {
            auto* label = new QLabel(unit, box);
            label->setGeometry(268, 22, 56, 18);
        }
        return std::pair{box, edit};
    };
    std::tie(formulaBox, formulaEdit) =
        field(QStringLiteral("GroupBox9"), QStringLiteral("Формула вещества :"),
              QStringLiteral("Формула вещества"), 434, QStringLiteral("Edit4"), {});
    formulaBox->setAutoFillBackground(true);
    std::tie(molarMassBox, molarMassEdit) = field(
        QStringLiteral("GroupBox2"), QStringLiteral("Молярная масса :"),
        QStringLiteral("Молярная масса вещества"), 488, QStringLiteral("Edit1"), QStringLiteral("г/моль"));
    molarMassBox->setAutoFillBackground(true);
    std::tie(moleFractionBox, moleFractionEdit) =
        field(QStringLiteral("GroupBox10"), QStringLiteral("Мольная доля :"),
              QStringLiteral("Мольная доля вещества"), 542, QStringLiteral("Edit5"), QStringLiteral("%"));
    std::tie(totalMassBox, totalMassEdit) =
        field(QStringLiteral("GroupBox12"), QStringLiteral("Общая навеска :"),
              QStringLiteral("Общая навеска (общая масса шихты)"), 596, QStringLiteral("Edit6"),
              QStringLiteral("гр."));

    calculateMolarMassButton =
        button(entryPanel, QStringLiteral("btnCalc"), QStringLiteral("Вычислить"), QRect(344, 496, 165, 44));
    calculateMolarMassButton->setStatusTip(QStringLiteral("Вычислить молярную массу вещества"));
    makeBoldColoured(calculateMolarMassButton, QColor(0, 128, 0));
    addSubstanceButton = button(entryPanel, QStringLiteral("SpeedButton4"), QStringLiteral("Добавить"),
                                QRect(344, 546, 165, 44));
    addSubstanceButton->setStatusTip(QStringLiteral("Добавить вещество в таблицу"));
    makeBoldColoured(addSubstanceButton, QColor(0, 0, 255));
    clearEntryButton =
        button(entryPanel, QStringLiteral("btnClear"), QStringLiteral("Очистить"), QRect(344, 596, 165, 44));
    clearEntryButton->setStatusTip(QStringLiteral("Очистить введенные данные"));
    makeBoldColoured(clearEntryButton, QColor(255, 0, 0));
    for (QPushButton* key : {calculateMolarMassButton, addSubstanceButton, clearEntryButton})
        key->setEnabled(false);
    runOn(calculateMolarMassButton, &QPushButton::clicked, &MainWindow::calculateMolarMass);
    runOn(addSubstanceButton, &QPushButton::clicked, &MainWindow::addSubstance);
    runOn(clearEntryButton, &QPushButton::clicked, &MainWindow::clearEntry);
}

QWidget* MainWindow::buildCatalogueColumn() {
    cataloguePanel = named(new QWidget(this), QStringLiteral("Panel3"));
    cataloguePanel->setAutoFillBackground(true);
    cataloguePanel->setMinimumWidth(0);
    cataloguePanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    cataloguePanel->installEventFilter(this);
    catalogueBox =
        groupBox(cataloguePanel, QStringLiteral("GroupBox11"), QStringLiteral("Выбор из веществ :"),
                 QStringLiteral("Выбор веществ"), QRect(0, 2, 225, 380));
    catalogueBox->setAutoFillBackground(true);
    const QString boxNames[6] = {QStringLiteral("GroupBox13"), QStringLiteral("GroupBox14"),
                                 QStringLiteral("GroupBox5"),  QStringLiteral("GroupBox4"),
                                 QStringLiteral("GroupBox8"),  QStringLiteral("GroupBox15")};
    const auto& lists = chemistry::catalogueLists();
    for (int i = 0; i < 6; ++i) {
        const chemistry::CatalogueList& list = lists[static_cast<size_t>(i)];
        QGroupBox* box =
            groupBox(catalogueBox, boxNames[i], list.caption, list.hint, QRect(8, 20 + 52 * i, 209, 48));
        // "ComboBox1" to "ComboBox6".
        auto* combo = named(new QComboBox(box), QStringLiteral("ComboBox%1").arg(i + 1));
        combo->setGeometry(8, 18, 193, 22);
        combo->setEditable(false);
        combo->addItem(chemistry::noChoiceText());
        for (const chemistry::CatalogueEntry& entry : list.entries)
            combo->addItem(entry.itemText);
        combo->setMaxVisibleItems(30);
        // Only a pick by the user reacts; selections set by the program trigger nothing.
        connect(combo, &QComboBox::activated, this,
                [this, i] { guarded([this, i] { clearOtherCatalogueLists(i + 1); }); });
        catalogueLists[static_cast<size_t>(i)] = combo;
    }
    chooseSubstanceButton =
        button(catalogueBox, QStringLiteral("Button114"), QStringLiteral("Выбрать"), QRect(8, 338, 209, 32));
    chooseSubstanceButton->setStatusTip(QStringLiteral("Выбрать вещество из списка"));
    runOn(chooseSubstanceButton, &QPushButton::clicked, &MainWindow::chooseSubstance);
    return cataloguePanel;
}

QWidget* MainWindow::buildTableColumn() {
    tablePanel = named(new QWidget(this), QStringLiteral("Panel1"));
    tablePanel->setFixedWidth(362);
    auto* layout = new QVBoxLayout(tablePanel);
    layout->setContentsMargins(2, 2, 2, 2);
    tableTabs = named(new QTabWidget(tablePanel), QStringLiteral("PageControl1"));

    // Each tab: its substance table, its summary table below and a row of three buttons.
    const auto substanceGrid = [](QWidget* tab, batch::TextGrid* cells, const QString& name,
                                  const QString& hint) {
        auto* grid = named(new StringGrid(cells, TextGridModel::Layout::HeaderRow, tab), name);
        grid->setGeometry(8, 8, 333, 505);
        grid->setStatusTip(hint);
        return grid;
    };
    const auto summaryGrid = [](QWidget* tab, batch::TextGrid* cells, const QString& name,
                                const QString& hint) {
        auto* grid = named(new StringGrid(cells, TextGridModel::Layout::HeaderColumn, tab), name);
        grid->setGeometry(8, 556, 333, 54);
        grid->setStatusTip(hint);
        grid->setColumnWidthPixels(1, 250);
        return grid;
    };
    const auto tableButton = [this](QWidget* tab, const QString& name, const QString& caption,
                                    const QString& hint, int index, Command command) {
        QPushButton* key = button(tab, name, caption, QRect(8 + 112 * index, 521, 109, 27));
        key->setStatusTip(hint);
        runOn(key, &QPushButton::clicked, command);
        return key;
    };
    const QString clearHint = QStringLiteral("Очистить таблицу");
    const QString exportHint = QStringLiteral("Экспорт данных из таблицы в Excel");

    batchTab = named(new QWidget, QStringLiteral("TabSheet1"));
    batchGrid = substanceGrid(batchTab, &batchTable, QStringLiteral("StringGrid1"),
                              QStringLiteral("Таблица для расчета навесок"));
    batchSummaryGrid = summaryGrid(batchTab, &batchSummary, QStringLiteral("StringGrid3"),
                                   QStringLiteral("Общая информация о полученной шихте"));
    calculateBatchButton =
        tableButton(batchTab, QStringLiteral("Button112"), QStringLiteral("Расчёт навесок"),
                    QStringLiteral("Расчёт навесок по введённым данным"), 0, &MainWindow::calculateBatch);
    clearBatchTableButton =
        tableButton(batchTab, QStringLiteral("Button113"), QStringLiteral("Очистить таблицу"), clearHint, 1,
                    &MainWindow::clearBatchTable);
    exportBatchTableButton =
        tableButton(batchTab, QStringLiteral("Button117"), QStringLiteral("Экспорт в Excel"), exportHint, 2,
                    &MainWindow::exportBatchTableToSpreadsheet);

    fractionTab = named(new QWidget, QStringLiteral("TabSheet2"));
    fractionGrid = substanceGrid(fractionTab, &fractionTable, QStringLiteral("StringGrid2"),
                                 QStringLiteral("Таблица для расчета мольных долей"));
    fractionSummaryGrid = summaryGrid(fractionTab, &fractionSummary, QStringLiteral("StringGrid4"),
                                      QStringLiteral("Общая информация"));
    calculateFractionsButton =
        tableButton(fractionTab, QStringLiteral("Button115"), QStringLiteral("Рассчитать"),
                    QStringLiteral("Рассчитать мольную долю"), 0, &MainWindow::calculateFractions);
    clearFractionTableButton =
        tableButton(fractionTab, QStringLiteral("Button116"), QStringLiteral("Очистить таблицу"), clearHint,
                    1, &MainWindow::clearFractionTable);
    exportFractionTableButton =
        tableButton(fractionTab, QStringLiteral("Button118"), QStringLiteral("Экспорт в Excel"), exportHint,
                    2, &MainWindow::exportFractionTableToSpreadsheet);

    tableTabs->addTab(batchTab, QStringLiteral("Расчет навесок"));
    tableTabs->addTab(fractionTab, QStringLiteral("Перевод массовых и мольных долей"));
    tableTabs->setCurrentWidget(batchTab);
    layout->addWidget(tableTabs);
    return tablePanel;
}

void MainWindow::setUpCalculation() {
    massExpression = QStringLiteral("0");
    batch::setupBatchTable(batchTable);
    batch::setupFractionTable(fractionTable);
    batch::setupBatchSummary(batchSummary);
    batchSummaryGrid->setColumnWidthPixels(1, 250);
    batch::setupFractionSummary(fractionSummary);
    fractionSummaryGrid->setColumnWidthPixels(1, 250);
    hydrateMode = false;
    batchComputed = false;
    settingsFile = std::make_unique<storage::ProfileFile>(storage::settingsFilePath());
}

void MainWindow::guarded(const std::function<void()>& handler) {
    batch::runGuarded(handler, [this](const QString& message) { dialogs_.showFailure(this, message); });
}

void MainWindow::refreshControls() {
    const bool batchTabShown = tableTabs->currentWidget() == batchTab;
    totalMassBox->setVisible(batchTabShown);
    moleFractionBox->setVisible(batchTabShown);

    const bool keysUsable = calculateMolarMassButton->isEnabled();
    for (QWidget* control : std::initializer_list<QWidget*>{waterKey, digitKeysBox, hydrateKey, plusKey})
        control->setEnabled(keysUsable);
    for (QPushButton* key : digitKeys)
        key->setEnabled(keysUsable);
    zeroKey->setEnabled(keysUsable);

    for (size_t i = 0; i < toolbarTicks.size(); ++i)
        toolButtonActions[i]->setVisible(toolbarTicks[i]->isChecked());

    if (!settingsWindow_)
        return;
    for (StringGrid* grid : {batchGrid, fractionGrid}) {
        grid->setEditing(settingsWindow_->cellEditingCheckBox->isChecked());
        grid->setRowSelect(settingsWindow_->rowSelectionCheckBox->isChecked());
        grid->setHorzLine(settingsWindow_->horizontalLinesCheckBox->isChecked());
        grid->setRowSizing(settingsWindow_->rowSizingCheckBox->isChecked());
        grid->setColSizing(settingsWindow_->columnSizingCheckBox->isChecked());
        grid->setVertLine(settingsWindow_->verticalLinesCheckBox->isChecked());
    }
}

void MainWindow::centreCatalogue() {
    // Integer division truncates toward zero, as the centring rule wants (-5 gives -2).
    catalogueBox->move((cataloguePanel->width() - catalogueBox->width()) / 2, catalogueBox->y());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The middle panel gets its width from the window's layout after the window itself resized.
    if (watched == cataloguePanel && event->type() == QEvent::Resize)
        guarded([this] { centreCatalogue(); });
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    guarded([this] { centreCatalogue(); });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        guarded([this] { readSettings(); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    guarded([this, &canClose] { offerToSaveBeforeClose(canClose); });
    if (!canClose) {
        event->ignore();
        return;
    }
    guarded([this] { writeSettings(); });
    event->accept();
    emit closed();
}

void MainWindow::openHelp() {
    // The desktop's answer is looked at: a missing guide or a desktop that cannot show it would
    // otherwise leave the user with nothing at all.
    const QString path = helpIndexPath();
    if (!QFileInfo::exists(path))
        dialogs_.showMessage(this, helpMissingMessage(path));
    else if (!openUrl(QUrl::fromLocalFile(path)))
        dialogs_.showMessage(this, helpNotOpenedMessage(path));
}

void MainWindow::showAboutWindow() {
    if (AboutWindow* about = aboutWindow())
        about->present();
}

void MainWindow::showAnalysisWindow() {
    if (AnalysisWindow* analysis = analysisWindow())
        analysis->present();
}

void MainWindow::showGlassWindow() {
    if (openGlassWindow)
        openGlassWindow();
}

void MainWindow::showSettingsWindow() {
    settingsWindow_->present();
}

void MainWindow::askToExit() {
    if (dialogs_.askYesNo(this, QStringLiteral("Выйти из программы?")) == Dialogs::Answer::Yes)
        close();
}
