#pragma once

#include "app/Dialogs.h"
#include "batch/GlassBatch.h"
#include "batch/GlassCompositionSheet.h"
#include "batch/TextGrid.h"

#include <QWidget>
#include <functional>

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
// Closing it only hides it.
class GlassWindow : public QWidget {
    Q_OBJECT
public:
    GlassWindow(MainWindow& mainWindow, Dialogs& dialogs, QWidget* parent = nullptr);
    ~GlassWindow() override;

    void present();

    // The composition as typed, and putting one into the window.
    batch::GlassCompositionSheet sheet() const;
    void setSheet(const batch::GlassCompositionSheet& sheet);

    // Cells of the composition, the result and its summary.
    batch::TextGrid compositionTable;
    batch::TextGrid resultTable;
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
    StringGrid* resultGrid = nullptr;
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
    void clearResult();

    MainWindow& mainWindow_;
    Dialogs& dialogs_;
    QObject* hints_ = nullptr;
    bool placed_ = false;
    QString lastFileName_;
};
