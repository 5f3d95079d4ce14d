// Counts the repaints of the program's windows while nothing changes: the 100 ms refresh
// re-applies all its rules on every tick and must not cause any.
#include "app/Application.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
    QtDialogs dialogs;
    ProgramWindows windows(dialogs);
    MainWindow& mainWindow = windows.mainWindow;
    mainWindow.show();

    PaintCounter counter;
    // Let the window settle (first paints, first ticks), then count.
    QTimer::singleShot(1000, [&] { application.installEventFilter(&counter); });
    int idlePaints = 0;
    QTimer::singleShot(1000 + seconds * 1000, [&] {
        idlePaints = counter.paints;
        std::printf("repaints during %d s of idle refresh: %d\n", seconds, idlePaints);
        // A control: a real change must be counted, or the figure above means nothing.
        mainWindow.elementKeys[0]->click();
    });
    QTimer::singleShot(1500 + seconds * 1000, [&] {
        std::printf("repaints after pressing one key (control, must be above 0): %d\n",
                    counter.paints - idlePaints);
        QCoreApplication::exit(0);
    });
    QApplication::exec();
    return 0;
}
