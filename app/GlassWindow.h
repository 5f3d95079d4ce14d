#pragma once

#include "app/Dialogs.h"
#include "batch/GlassBatch.h"
#include "batch/GlassCompositionSheet.h"
#include "batch/TextGrid.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QStatusBar;
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
    batch::TextGrid Composition;
    batch::TextGrid Result;
    batch::TextGrid Summary;

    StringGrid* GlassGrid = nullptr;
    QCheckBox* GlassMolePercent = nullptr;
    QLineEdit* GlassMass = nullptr;
    QLineEdit* GlassCullet = nullptr;
    QPushButton* GlassCalculate = nullptr;
    QPushButton* GlassToBatch = nullptr;
    QPushButton* GlassSave = nullptr;
    QPushButton* GlassLoad = nullptr;
    QPushButton* GlassClear = nullptr;
    StringGrid* GlassResult = nullptr;
    StringGrid* GlassSummary = nullptr;
    QStatusBar* GlassStatusBar = nullptr;

    // Handlers.
    void GlassCalculateClick();
    void GlassToBatchClick();
    void GlassSaveClick();
    void GlassLoadClick();
    void GlassClearClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void guarded(const std::function<void()>& handler);
    QPushButton* commandButton(const QString& name, const QString& caption, const QString& hint,
                               void (GlassWindow::*handler)());
    void showResult(const batch::GlassBatchProblem& problem, const batch::GlassBatchResult& result);

    MainWindow& mainWindow_;
    Dialogs& dialogs_;
    QObject* hints_ = nullptr;
    bool placed_ = false;
    QString lastFileName_;
};
