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

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    QMenu* menu = MainMenu1->addMenu(QStringLiteral("Анализ"));
    menu->setObjectName("N1");
    const auto item = [this, menu](const char* name, const QString& caption, const char* icon,
                                   void (AnalysisWindow::*handler)()) {
        QAction* action =
            menu->addAction(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))), caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
        return action;
    };
    N3 = item("N3", QStringLiteral("Рассчитать"), "diagram", &AnalysisWindow::N3Click);
    N7 = item("N7", QStringLiteral("Очистить окно"), "eraser", &AnalysisWindow::N7Click);
    menu->addSeparator();
    N2 = item("N2", QStringLiteral("Сделать скриншот"), "camera", &AnalysisWindow::N2Click);
    menu->addSeparator();
    N5 = item("N5", QStringLiteral("Выход"), "exit", &AnalysisWindow::N5Click);

    // The client area below the menu bar, in the pixels the diagram is laid out in.
    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    client->setFixedSize(clientWidth, clientHeight);
    const int bottomHeight = analysis::kHorizontalRulerSize.height() + 2 * panelInset;
    const int rightWidth = analysis::kVerticalRulerSize.width() + 2 * panelInset;
    Panel2 = panel(client, "Panel2", QRect(0, clientHeight - bottomHeight, clientWidth, bottomHeight));
    Panel1 =
        panel(client, "Panel1", QRect(clientWidth - rightWidth, 0, rightWidth, clientHeight - bottomHeight));
    Panel8 = panel(client, "Panel8", QRect(0, 0, clientWidth - rightWidth, clientHeight - bottomHeight));
    Image1 = picture(Panel8, "Image1");
    Image1->setStatusTip(QStringLiteral("Окно построения диаграмм"));
    Image3 = picture(Panel1, "Image3");
    Image2 = picture(Panel2, "Image2");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(client);
    // The diagram and its rulers are laid out in pixels, so the window keeps its size.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });

    FormCreate();
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

void AnalysisWindow::FormCreate() {
    draw(Image3, analysis::verticalRuler(Image3->picture.size()));
    draw(Image2, analysis::horizontalRuler(Image1->picture.width()));
    N7Click();
}

void AnalysisWindow::N3Click() {
    if (!link_.computed || !*link_.computed) {
        if (link_.showMessage)
            link_.showMessage(QStringLiteral("Недостаточно данных для расчета!"));
        return;
    }
    analysis::setScales(*link_.cells, *link_.rowCount, Image1->picture.size(), Scales);
    Timer1->start();
}

void AnalysisWindow::N7Click() {
    draw(Image1, analysis::clearDiagram(Image1->picture.size()));
}

void AnalysisWindow::N2Click() {
    exporting::WindowScreenshot(this, QStringLiteral("Calcul"), [this](const QString& text) {
        if (link_.showMessage)
            link_.showMessage(text);
    });
}

void AnalysisWindow::N5Click() {
    close();
}

void AnalysisWindow::Timer1Timer() {
    // One "Рассчитать" yields one drawing, also when the drawing fails part-way: a failure is
    // shown once, not again at every further tick.
    Timer1->stop();
    if (!link_.cells || !link_.rowCount)
        return;
    analysis::Operations operations;
    try {
        analysis::drawDiagram(*link_.cells, *link_.rowCount, Scales, Image1->picture.size(), operations);
    } catch (const batch::Failure&) {
        // What was drawn until the failure stays on the diagram.
        draw(Image1, operations);
        throw;
    }
    draw(Image1, operations);
}
