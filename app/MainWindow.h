#pragma once

#include "app/Dialogs.h"
#include "batch/TextGrid.h"

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QStatusBar;
class StringGrid;
class SettingsWindow;
class AboutWindow;
class AnalysisWindow;
namespace chemistry {
struct KeyPress;
struct EntryState;
} // namespace chemistry
namespace storage {
class ProfileFile;
}
namespace exporting {
class AutomationClient;
}

// The main window: the element keyboard and formula entry, the substance catalogue and the two
// calculation tables, with the menu, the toolbar and the 100 ms refresh.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The windows the main window's commands open. The settings window exists from the start (the
    // refresh reads its check boxes); the About and analysis windows are made by the functions
    // given when they are first opened, and the analysis window is then linked to the batch table.
    void attachWindows(SettingsWindow* settings, std::function<AboutWindow*()> makeAbout,
                       std::function<AnalysisWindow*()> makeAnalysis);
    // The About and analysis windows, made on the first call; null while none can be made.
    AboutWindow* aboutWindow();
    AnalysisWindow* analysisWindow();

    // The calculation's shared state: the formula entry's mass expression and hydrate mode, the
    // substance rows of each table, whether the batch weights are calculated, the settings file.
    QString massExpression;
    bool hydrateMode = false;
    int batchRowCount = 0;
    int fractionRowCount = 0;
    bool batchComputed = false;
    std::unique_ptr<storage::ProfileFile> settingsFile;

    // The cells of the four tables, which batchGrid, fractionGrid, batchSummaryGrid and
    // fractionSummaryGrid show.
    batch::TextGrid batchTable;
    batch::TextGrid fractionTable;
    batch::TextGrid batchSummary;
    batch::TextGrid fractionSummary;

    // Hands the user guide to the desktop; false when the desktop cannot be asked. Tests replace it.
    std::function<bool(const QUrl&)> openUrl;
    // Opens the window "Шихта по составу стекла"; set by whoever creates that window.
    std::function<void()> openGlassWindow;
    // Gives the office the exports talk to, for one command; unset means LibreOffice.
    std::function<std::unique_ptr<exporting::AutomationClient>()> officeClient;

    // The controls. Each carries the program's name for it as objectName, set where it is made.
    QToolBar* toolBar = nullptr;
    std::array<QToolButton*, 8> toolButtons{};
    std::array<QAction*, 8> toolButtonActions{}; // the toolbar's places of the eight buttons
    std::array<QAction*, 8> toolbarTicks{};      // "Панель управления": which buttons show
    QStatusBar* hintBar = nullptr;
    // The three columns: formula entry, substance catalogue, calculation tables.
    QWidget* entryPanel = nullptr;
    QWidget* cataloguePanel = nullptr;
    QWidget* tablePanel = nullptr;
    // Formula entry.
    QGroupBox* periodicTableBox = nullptr;
    std::array<QPushButton*, 111> elementKeys{}; // by key number
    QGroupBox* optionsBox = nullptr;
    QGroupBox* digitKeysBox = nullptr;
    QWidget* digitKeyPanel = nullptr;
    std::array<QPushButton*, 9> digitKeys{}; // 1 to 9
    QPushButton* zeroKey = nullptr;
    QGroupBox* symbolKeysBox = nullptr;
    QPushButton* hydrateKey = nullptr; // "X"
    QPushButton* waterKey = nullptr;
    QPushButton* plusKey = nullptr;
    QGroupBox* formulaBox = nullptr;
    QLineEdit* formulaEdit = nullptr;
    QGroupBox* molarMassBox = nullptr;
    QLineEdit* molarMassEdit = nullptr;
    QGroupBox* moleFractionBox = nullptr;
    QLineEdit* moleFractionEdit = nullptr;
    QGroupBox* totalMassBox = nullptr;
    QLineEdit* totalMassEdit = nullptr;
    QPushButton* calculateMolarMassButton = nullptr;
    QPushButton* addSubstanceButton = nullptr;
    QPushButton* clearEntryButton = nullptr;
    // Substance catalogue.
    QGroupBox* catalogueBox = nullptr;
    std::array<QComboBox*, 6> catalogueLists{};
    QPushButton* chooseSubstanceButton = nullptr;
    // Calculation tables.
    QTabWidget* tableTabs = nullptr;
    QWidget* batchTab = nullptr;
    StringGrid* batchGrid = nullptr;
    StringGrid* batchSummaryGrid = nullptr;
    QPushButton* calculateBatchButton = nullptr;
    QPushButton* clearBatchTableButton = nullptr;
    QPushButton* exportBatchTableButton = nullptr;
    QWidget* fractionTab = nullptr;
    StringGrid* fractionGrid = nullptr;
    StringGrid* fractionSummaryGrid = nullptr;
    QPushButton* calculateFractionsButton = nullptr;
    QPushButton* clearFractionTableButton = nullptr;
    QPushButton* exportFractionTableButton = nullptr;
    QTimer* refreshTimer = nullptr;

    // The commands of the menu, the toolbar and the buttons. Controls that give the same command
    // run the same function.
    using Command = void (MainWindow::*)();
    // Formula entry.
    void pressElementKey(int key);
    void pressDigitKey(int digit);
    void pressZeroKey();
    void pressHydrateKey();
    void pressWaterKey();
    void pressPlusKey();
    void calculateMolarMass();
    void addSubstance();
    void clearEntry();
    // Substance catalogue: a pick in one list clears the others; "Выбрать" takes the pick.
    void clearOtherCatalogueLists(int list);
    void chooseSubstance();
    // Calculation tables.
    void calculateBatch();
    void clearBatchTable();
    void calculateFractions();
    void clearFractionTable();
    void calculateActiveTab();
    void calculateAll();
    void clearAll();
    // Files, pictures and the office.
    void loadCalculation();
    void saveCalculation();
    void saveTablePicture();
    void takeScreenshot();
    void exportActiveTableToSpreadsheet();
    void exportBatchTableToSpreadsheet();
    void exportFractionTableToSpreadsheet();
    void exportTablePictureToWordProcessor();
    // Settings, the other windows, help and the end.
    void chooseWindowColour();
    void showSettingsWindow();
    void showAnalysisWindow();
    void showGlassWindow();
    void openHelp();
    void showAboutWindow();
    void askToExit();

    // The 100 ms refresh: fields and keys of the active tab, toolbar buttons, table options.
    void refreshControls();
    // The settings file, read when the window is first shown and written when it closes.
    void readSettings();
    void writeSettings();

    // Runs a command; a failure it raises is shown by the failure display and ends it.
    void guarded(const std::function<void()>& handler);

    // The ten controls of the window colour set, in the order of their settings keys.
    std::array<QWidget*, 10> colourSet() const;
    int colourValue(int index) const { return colourValues_[static_cast<size_t>(index)]; }
    void setColourValue(int index, int value);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs the command, inside the failure guard, whenever the control sends the signal.
    template <typename Control, typename Signal>
    void runOn(Control* control, Signal signal, Command command) {
        connect(control, signal, this, [this, command] { guarded([this, command] { (this->*command)(); }); });
    }
    void buildMenu();
    void buildToolBar();
    QWidget* buildEntryColumn();
    void buildElementKeys();
    void buildDigitAndSymbolKeys();
    void buildFormulaFields();
    QWidget* buildCatalogueColumn();
    QWidget* buildTableColumn();
    void setUpCalculation();
    void centreCatalogue();
    void offerToSaveBeforeClose(bool& canClose);
    void pressKey(const chemistry::KeyPress& key);
    void takeEntry(const chemistry::EntryState& state);
    void linkAnalysisWindow();
    std::unique_ptr<exporting::AutomationClient> makeOfficeClient() const;
    void exportTable(const batch::TextGrid& grid, bool wrapSelection);

    Dialogs& dialogs_;
    SettingsWindow* settingsWindow_ = nullptr;
    AboutWindow* aboutWindow_ = nullptr;
    AnalysisWindow* analysisWindow_ = nullptr;
    std::function<AboutWindow*()> makeAbout_;
    std::function<AnalysisWindow*()> makeAnalysis_;
    bool countOpen_ = false;
    bool shownOnce_ = false;
    QString lastSaveName_;
    QString lastOpenName_;
    QString lastPictureName_;
    int pictureType_ = 1; // the file type the picture dialog preselects
    QColor lastChosenColour_;
    std::array<int, 10> colourValues_{};
};
