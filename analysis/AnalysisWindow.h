#pragma once

#include "analysis/DiagramOperations.h"

#include <QWidget>
#include <functional>

class QAction;
class QFrame;
class QMenuBar;
class QTimer;
class PictureBox;

// What the analysis window reads from the main window, and how it reports to the user. The
// window only reads the batch table; it never writes it.
struct BatchLink {
    const batch::TextGrid* cells = nullptr; // the batch table's cells
    const int* rowCount = nullptr;          // its substance rows
    const bool* computed = nullptr;         // whether its weights are calculated
    std::function<void(const QString&)> showMessage;
    std::function<void(const QString&)> showFailure;
};

// The analysis window "Анализ навесок": a tool window above all others that draws the bar
// diagram of the computed batch. Closing it only hides it; its pictures stay.
class AnalysisWindow : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisWindow(QWidget* parent = nullptr);

    void attach(BatchLink link);

    // Shows the window without blocking the main window; when it is already shown it is only
    // brought forward.
    void present();

    // The controls; each carries the objectName given where it is made.
    QMenuBar* menuBar = nullptr;
    QAction* calculateAction = nullptr;  // "Рассчитать"
    QAction* clearAction = nullptr;      // "Очистить окно"
    QAction* screenshotAction = nullptr; // "Сделать скриншот"
    QAction* exitAction = nullptr;       // "Выход": hides the window
    QFrame* diagramFrame = nullptr;
    QFrame* verticalRulerFrame = nullptr;
    QFrame* horizontalRulerFrame = nullptr;
    PictureBox* diagram = nullptr;
    PictureBox* verticalRuler = nullptr;
    PictureBox* horizontalRuler = nullptr;
    QTimer* drawTimer = nullptr; // draws the diagram at its first tick after "Рассчитать"

    // Bar width and height scale, set by "Рассчитать" and used by the drawing.
    analysis::Scales scales;

    // The commands of the menu, and the drawing the timer runs.
    void calculateDiagram();
    void clearDiagram();
    void takeScreenshot();
    void drawDiagram();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void guarded(const std::function<void()>& handler);
    void draw(PictureBox* surface, const analysis::Operations& operations);

    BatchLink link_;
    bool placed_ = false;
};
