// Drives the installed program for scripts/package-clean-root-test, as a user would, through the
// objectNames of its windows and controls. It is loaded into the program with LD_PRELOAD and never
// installed: the program itself is the package's, unchanged.
//   VELTRONA_DRIVE=first   opens "Настройки программы" (N10), ticks CheckBox2, takes a screenshot
//                          (N18), confirms its message, closes the main window and answers "Нет"
//                          to the save question;
//   VELTRONA_DRIVE=second  opens the settings window, prints whether CheckBox2 is ticked, closes.
// It prints what it does on stderr ("driver: ..."), and ends the program with status 3 when a step
// does not come within 60 s.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

QWidget* window(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name))
            return widget;
    return nullptr;
}

void say(const QString& text) {
    std::fprintf(stderr, "driver: %s\n", text.toUtf8().constData());
}

// Runs after the current event, so that a modal window it opens does not block the driver's timer.
void later(const std::function<void()>& step) {
    QTimer::singleShot(0, qApp, step);
}

class Driver : public QObject {
public:
    explicit Driver(bool first) : first_(first) {
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start(200);
        deadline_.start();
    }

private:
    void tick() {
        if (deadline_.elapsed() > 60000) {
            say(QStringLiteral("step %1 did not come within 60 s").arg(step_));
            std::_Exit(3);
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QWidget* mainWindow = window("Form1");
        switch (step_) {
        case 0:
            if (mainWindow && mainWindow->isVisible() && !box) {
                say(QStringLiteral("main window shown: %1").arg(mainWindow->windowTitle()));
                later([mainWindow] { mainWindow->findChild<QAction*>(QStringLiteral("N10"))->trigger(); });
                ++step_;
            }
            break;
        case 1:
            if (QWidget* settingsWindow = window("Form2"); settingsWindow && settingsWindow->isVisible()) {
                auto* checkBox = settingsWindow->findChild<QCheckBox*>(QStringLiteral("CheckBox2"));
                if (first_)
                    checkBox->click();
                say(QStringLiteral("CheckBox2 %1").arg(checkBox->isChecked() ? "ticked" : "not ticked"));
                settingsWindow->close();
                step_ = first_ ? 2 : 4;
            }
            break;
        case 2:
            later([mainWindow] { mainWindow->findChild<QAction*>(QStringLiteral("N18"))->trigger(); });
            ++step_;
            break;
        case 3:
            if (box) {
                say(QStringLiteral("screenshot: %1").arg(box->text()));
                box->accept();
                ++step_;
            }
            break;
        case 4:
            if (!box) {
                later([mainWindow] { mainWindow->close(); });
                ++step_;
            }
            break;
        case 5:
            if (box) {
                say(QStringLiteral("closing: %1").arg(box->text()));
                box->button(QMessageBox::No)->click();
                ++step_;
            }
            break;
        default:
            break;
        }
    }

    bool first_;
    int step_ = 0;
    QTimer timer_;
    QElapsedTimer deadline_;
};

void startDriver() {
    const QByteArray mode = qgetenv("VELTRONA_DRIVE");
    if (mode != "first" && mode != "second")
        return;
    // Once the application object exists; the driver lives as long as it does.
    QTimer::singleShot(0, qApp, [mode] { new Driver(mode == "first"); });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)
