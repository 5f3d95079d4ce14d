#pragma once

#include "app/Dialogs.h"
#include "batch/GlassBatch.h"
#include "batch/GlassCompositionSheet.h"
#include "batch/TextGrid.h"
#include "chemistry/RawMaterialLibrary.h"
#include "properties/GlassComposition.h"
#include "storage/AtomicFile.h"

#include <QWidget>
#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class GlassPropertiesPanel;
class StringGrid;
class MainWindow;

// "Шихта по составу стекла": the glass composition with the raw material of each oxide, the
// batch that melts into it, and the transfer of that batch into the main window's batch table.
// Raw materials are formulas or materials of the user's library (Data/RawMaterials.csv), which
// is read when the window is first opened, again when the file has changed since, and after the
// library window has saved it. Closing the window only hides it.
class GlassWindow : public QWidget {
    Q_OBJECT
public:
    GlassWindow(MainWindow& mainWindow, Dialogs& dialogs, QWidget* parent = nullptr);
    ~GlassWindow() override;

    void present();

    // The composition as typed, and putting one into the window.
    batch::GlassCompositionSheet sheet() const;
    void setSheet(const batch::GlassCompositionSheet& sheet);

    // Cells of the composition, the result (the raw materials, the glass they give) and its summary.
    batch::TextGrid compositionTable;
    batch::TextGrid resultTable;
    batch::TextGrid glassOxidesTable;
    batch::TextGrid summaryTable;

    // The controls; each carries the objectName given where it is made.
    StringGrid* compositionGrid = nullptr;
    QCheckBox* molePercentCheckBox = nullptr;
    QLineEdit* glassMassEdit = nullptr;
    QLineEdit* culletEdit = nullptr;
    QPushButton* calculateBatchButton = nullptr;
    QPushButton* transferToBatchTableButton = nullptr;
    QPushButton* saveCompositionButton = nullptr;
    QPushButton* loadCompositionButton = nullptr;
    QPushButton* clearAllButton = nullptr;
    QPushButton* materialsButton = nullptr;
    StringGrid* resultGrid = nullptr;
    StringGrid* glassOxidesGrid = nullptr;
    StringGrid* summaryGrid = nullptr;
    // The batch and the properties of the glass, each on a page of its own.
    QTabWidget* glassTabs = nullptr;
    GlassPropertiesPanel* propertiesPanel = nullptr;
    QStatusBar* hintBar = nullptr;

    // The commands of the window's buttons.
    // Calculates the batch and the properties of the glass it gives; without raw materials, the
    // properties of the composition alone.
    void calculateBatch();
    // Calculates, then replaces the main window's batch table by the batch and calculates there.
    void transferToBatchTable();
    void saveComposition();
    void loadComposition();
    void clearAll();
    // "Справочник сырья...": the program sets what opens the library window.
    std::function<void()> openMaterialsWindow;
    void showMaterialsWindow();

    // The library the window computes with: empty while the file is missing or damaged.
    const chemistry::RawMaterialLibrary& library() const { return library_; }
    // Reads the library file again now (the library window has saved it). A damaged file shows
    // the reader's message, and the window computes with formulas only until the file is mended.
    void reloadLibrary();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* buildCompositionBox();
    QGroupBox* buildCalculationBox();
    QGroupBox* buildResultBox();
    void guarded(const std::function<void()>& handler);
    QPushButton* commandButton(const QString& name, const QString& caption, const QString& hint,
                               void (GlassWindow::*handler)());
    void showResult(const batch::GlassBatchProblem& problem, const batch::GlassBatchResult& result);
    struct CalculatedBatch {
        batch::GlassBatchProblem problem;
        batch::GlassBatchResult result;
    };
    // Calculates the batch and shows it with the properties of the glass it gives. When the batch
    // fails, the properties are those of the composition as typed (none when it is not valid) and
    // the failure goes on to the caller.
    CalculatedBatch calculateAndShowBatch(const batch::GlassCompositionSheet& typed,
                                          const std::optional<properties::GlassComposition>& composition);
    // The problem of the sheet with the library's materials, the library read again first when its
    // file has changed.
    batch::GlassBatchProblem prepareBatch(const batch::GlassCompositionSheet& sheet);
    void refreshLibrary(bool always);
    // The library's moisture and purity, greyed in the empty cells of a library material's row.
    QString libraryHint(int column, int row) const;
    void clearResult();

    MainWindow& mainWindow_;
    Dialogs& dialogs_;
    QObject* hints_ = nullptr;
    bool placed_ = false;
    QString lastFileName_;
    chemistry::RawMaterialLibrary library_;
    // The library file as it was when last read, to see whether it has changed since.
    std::optional<storage::FileStamp> libraryStamp_;
};
