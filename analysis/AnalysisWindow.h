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
    const batch::TextGrid* cells = nullptr; // the cells of StringGrid1
    const int* rowCount = nullptr;          // BatchRowCount
    const bool* computed = nullptr;         // BatchComputed
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

    // Controls, named as the program names them.
    QMenuBar* MainMenu1 = nullptr;
    QAction* N3 = nullptr; // "Рассчитать"
    QAction* N7 = nullptr; // "Очистить окно"
    QAction* N2 = nullptr; // "Сделать скриншот"
    QAction* N5 = nullptr; // "Выход"
    QFrame* Panel8 = nullptr;
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    PictureBox* Image1 = nullptr; // the diagram
    PictureBox* Image3 = nullptr; // the vertical ruler
    PictureBox* Image2 = nullptr; // the horizontal ruler
    QTimer* Timer1 = nullptr;

    // BarWidth and HeightScale, set by "Рассчитать" and used by the drawing.
    analysis::Scales Scales;

    // Handlers.
    void FormCreate();
    void N3Click();
    void N7Click();
    void N2Click();
    void N5Click();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void guarded(const std::function<void()>& handler);
    void draw(PictureBox* surface, const analysis::Operations& operations);

    BatchLink link_;
    bool placed_ = false;
};
