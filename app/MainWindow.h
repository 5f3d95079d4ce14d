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
class QLabel;
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

    // Shared state of the calculation.
    QString massExpression;
    bool hydrateMode = false;
    int batchRowCount = 0;
    int fractionRowCount = 0;
    bool batchComputed = false;
    std::unique_ptr<storage::ProfileFile> settingsFile;

    // The cells of the four tables (batchGrid to fractionSummaryGrid show them).
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

    // Controls, named as the program names them (each also carries that name as objectName).
    QToolBar* toolBar = nullptr;
    std::array<QToolButton*, 8> toolButtons{};
    QStatusBar* hintBar = nullptr;
    QWidget* tablePanel = nullptr;
    QWidget* entryPanel = nullptr;
    QWidget* cataloguePanel = nullptr;
    QWidget* digitKeyPanel = nullptr;
    QGroupBox* optionsBox = nullptr;
    QGroupBox* molarMassBox = nullptr;
    QGroupBox* periodicTableBox = nullptr;
    QGroupBox* digitKeysBox = nullptr;
    QGroupBox* symbolKeysBox = nullptr;
    QGroupBox* formulaBox = nullptr;
    QGroupBox* moleFractionBox = nullptr;
    QGroupBox* catalogueBox = nullptr;
    QGroupBox* totalMassBox = nullptr;
    std::array<QPushButton*, 111> elementKeys{}; // Button1 .. Button111
    std::array<QPushButton*, 9> digitKeys{};     // btn1 .. btn9
    QPushButton* zeroKey = nullptr;              // "0"
    QPushButton* hydrateKey = nullptr;           // "X"
    QPushButton* waterKey = nullptr;             // water
    QPushButton* plusKey = nullptr;              // "+"
    QLineEdit* formulaEdit = nullptr;
    QLineEdit* molarMassEdit = nullptr;
    QLineEdit* moleFractionEdit = nullptr;
    QLineEdit* totalMassEdit = nullptr;
    QPushButton* calculateMolarMassButton = nullptr;
    QPushButton* addSubstanceButton = nullptr;
    QPushButton* clearEntryButton = nullptr;
    std::array<QComboBox*, 6> catalogueLists{}; // ComboBox1 .. ComboBox6
    QPushButton* chooseSubstanceButton = nullptr;
    QTabWidget* tableTabs = nullptr;
    QWidget* batchTab = nullptr;
    QWidget* fractionTab = nullptr;
    StringGrid* batchGrid = nullptr;
    StringGrid* fractionGrid = nullptr;
    StringGrid* batchSummaryGrid = nullptr;
    StringGrid* fractionSummaryGrid = nullptr;
    QPushButton* calculateBatchButton = nullptr;
    QPushButton* clearBatchTableButton = nullptr;
    QPushButton* exportBatchTableButton = nullptr;
    QPushButton* calculateFractionsButton = nullptr;
    QPushButton* clearFractionTableButton = nullptr;
    QPushButton* exportFractionTableButton = nullptr;
    QTimer* refreshTimer = nullptr;
    std::array<QAction*, 8> toolbarTicks{}; // N32 .. N39
    std::array<QAction*, 8> toolButtonActions{};

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void FormResize();
    void Timer1Timer();
    void ElementKeyClick(int key);
    void DigitKeyClick(int digit);
    void SpeedButton3Click();
    void Button119Click();
    void SpeedButton5Click();
    void Button120Click();
    void btnClearClick();
    void btnCalcClick();
    void ComboBoxClick(int list);
    void Button114Click();
    void SpeedButton4Click();
    void Button112Click();
    void Button113Click();
    void Button115Click();
    void Button116Click();
    void N11Click();
    void N12Click();
    void N16Click();
    void N17Click();
    void ToolButton4Click();
    void N8Click();
    void N6Click();
    void N7Click();
    void N9Click();
    void pdf1Click();
    void N18Click();
    void N10Click();
    void N20Click();
    void N40Click();
    void Button117Click();
    void Button118Click();
    void Cj1Click();

    // Runs a handler; a failure it raises is shown by the failure display and ends it.
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
    void buildToolBar();
    void buildMenu();
    QWidget* buildLeftColumn();
    QWidget* buildMiddleColumn();
    QWidget* buildRightColumn();
    QWidget* buildTab(bool forBatch);
    void pressKey(const chemistry::KeyPress& key);
    void takeEntry(const chemistry::EntryState& state);
    void saveCalculation();
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
