#include "analysis/AnalysisWindow.h"

#include "analysis/DiagramPlayer.h"
#include "analysis/PictureBox.h"
#include "analysis/WindowPlacement.h"
#include "batch/Failure.h"
#include "export/WindowScreenshot.h"

#include <QAction>
#include <QFrame>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int clientWidth = 359;
constexpr int clientHeight = 350;
// Each panel's border and the gap inside it leave three pixels on each side of its picture.
constexpr int panelInset = 3;

QFrame* panel(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    frame->setGeometry(geometry);
    return frame;
}

PictureBox* picture(QFrame* holder, const QString& name) {
    auto* box = new PictureBox(holder->size() - QSize(2 * panelInset, 2 * panelInset), holder);
    box->setObjectName(name);
    box->move(panelInset, panelInset);
    return box;
}

} // namespace

AnalysisWindow::AnalysisWindow(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("Form5");
    setWindowTitle(QStringLiteral("Анализ навесок"));
    setFont(analysis::surfaceFont());

    menuBar = new QMenuBar(this);
    menuBar->setObjectName("MainMenu1");
    QMenu* menu = menuBar->addMenu(QStringLiteral("Анализ"));
    menu->setObjectName("N1");
    const auto item = [this, menu](const char* name, const QString& caption, const char* icon,
                                   void (AnalysisWindow::*command)()) {
        QAction* action =
            menu->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))), caption);
        action->setObjectName(QLatin1String(name));
        if (command)
            connect(action, &QAction::triggered, this,
                    [this, command] { guarded([this, command] { (this->*command)(); }); });
        return action;
    };
    calculateAction = item("N3", QStringLiteral("Рассчитать"), "diagram", &AnalysisWindow::calculateDiagram);
    clearAction = item("N7", QStringLiteral("Очистить окно"), "eraser", &AnalysisWindow::clearDiagram);
    menu->addSeparator();
    screenshotAction =
        item("N2", QStringLiteral("Сделать скриншот"), "camera", &AnalysisWindow::takeScreenshot);
    menu->addSeparator();
    exitAction = item("N5", QStringLiteral("Выход"), "exit", nullptr);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    // The client area below the menu bar, in the pixels the diagram is laid out in: the diagram
    // with the vertical ruler at its right and the horizontal ruler below both.
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    client->setFixedSize(clientWidth, clientHeight);
    const int bottomHeight = analysis::kHorizontalRulerSize.height() + 2 * panelInset;
    const int rightWidth = analysis::kVerticalRulerSize.width() + 2 * panelInset;
    horizontalRulerFrame =
        panel(client, "Panel2", QRect(0, clientHeight - bottomHeight, clientWidth, bottomHeight));
    verticalRulerFrame =
        panel(client, "Panel1", QRect(clientWidth - rightWidth, 0, rightWidth, clientHeight - bottomHeight));
    diagramFrame =
        panel(client, "Panel8", QRect(0, 0, clientWidth - rightWidth, clientHeight - bottomHeight));
    diagram = picture(diagramFrame, "Image1");
    diagram->setStatusTip(QStringLiteral("Окно построения диаграмм"));
    verticalRuler = picture(verticalRulerFrame, "Image3");
    horizontalRuler = picture(horizontalRulerFrame, "Image2");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(client);
    // The diagram and its rulers are laid out in pixels, so the window keeps its size.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    drawTimer = new QTimer(this);
    drawTimer->setObjectName("Timer1");
    drawTimer->setInterval(100);
    connect(drawTimer, &QTimer::timeout, this, [this] { guarded([this] { drawDiagram(); }); });

    // The rulers are drawn once; the diagram starts empty.
    draw(verticalRuler, analysis::verticalRuler(verticalRuler->picture.size()));
    draw(horizontalRuler, analysis::horizontalRuler(diagram->picture.width()));
    clearDiagram();
}

void AnalysisWindow::attach(BatchLink link) {
    link_ = std::move(link);
}

void AnalysisWindow::present() {
    presentWindow(this);
}

void AnalysisWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(this, placed_);
    QWidget::showEvent(event);
}

void AnalysisWindow::guarded(const std::function<void()>& handler) {
    batch::runGuarded(handler, [this](const QString& message) {
        if (link_.showFailure)
            link_.showFailure(message);
    });
}

void AnalysisWindow::draw(PictureBox* surface, const analysis::Operations& operations) {
    analysis::play(operations, surface->picture);
    surface->update();
}

void AnalysisWindow::calculateDiagram() {
    if (!link_.computed || !*link_.computed) {
        if (link_.showMessage)
            link_.showMessage(QStringLiteral("Недостаточно данных для расчета!"));
        return;
    }
    analysis::setScales(*link_.cells, *link_.rowCount, diagram->picture.size(), scales);
    drawTimer->start();
}

void AnalysisWindow::clearDiagram() {
    draw(diagram, analysis::clearDiagram(diagram->picture.size()));
}

void AnalysisWindow::takeScreenshot() {
    exporting::WindowScreenshot(this, QStringLiteral("Calcul"), [this](const QString& text) {
        if (link_.showMessage)
            link_.showMessage(text);
    });
}

void AnalysisWindow::drawDiagram() {
    // One "Рассчитать" yields one drawing, also when the drawing fails part-way: a failure is
    // shown once, not again at every further tick.
    drawTimer->stop();
    if (!link_.cells || !link_.rowCount)
        return;
    analysis::Operations operations;
    try {
        analysis::drawDiagram(*link_.cells, *link_.rowCount, scales, diagram->picture.size(), operations);
    } catch (const batch::Failure&) {
        // What was drawn until the failure stays on the diagram.
        draw(diagram, operations);
        throw;
    }
    draw(diagram, operations);
}
