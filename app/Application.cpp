#include "app/Application.h"

#include "batch/NumberText.h"
#include "storage/DataRoot.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTranslator>

namespace {

// The window icon, drawn at the four sizes the window system is given for a scalable picture, pixel
// for pixel as the icon engine draws them. One reading of the picture serves all four: an icon made
// from the file reads it once for each size, and once more on loading only to see that it can.
QIcon programIcon() {
    QSvgRenderer picture(QStringLiteral(":/desktop/veltrona.svg"));
    QIcon icon;
    for (const int side : {16, 32, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        picture.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Lets the main window close only when `mayClose` agrees.
class CloseGuard : public QObject {
public:
    explicit CloseGuard(std::function<bool()> mayClose) : mayClose_(std::move(mayClose)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close && !mayClose_()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> mayClose_;
};

} // namespace

ProgramWindows::ProgramWindows(Dialogs& dialogs)
    : mainWindow(dialogs), hints(mainWindow.hintBar), dialogs_(dialogs) {
    mainWindow.attachWindows(
        &settingsWindow,
        [this] {
            about_ = std::make_unique<AboutWindow>();
            return about_.get();
        },
        [this] {
            analysis_ = std::make_unique<AnalysisWindow>();
            return analysis_.get();
        });
    mainWindow.openGlassWindow = [this] { glassWindow().present(); };
    QCoreApplication::instance()->installEventFilter(&hints);
    closeGuard_ = std::make_unique<CloseGuard>(
        [this] { return !materials_ || !materials_->hasUnsavedEdits() || materials_->close(); });
    mainWindow.installEventFilter(closeGuard_.get());
}

ProgramWindows::~ProgramWindows() = default;

AboutWindow& ProgramWindows::aboutWindow() {
    return *mainWindow.aboutWindow();
}

AnalysisWindow& ProgramWindows::analysisWindow() {
    return *mainWindow.analysisWindow();
}

GlassWindow& ProgramWindows::glassWindow() {
    if (!glass_) {
        glass_ = std::make_unique<GlassWindow>(mainWindow, dialogs_);
        glass_->openMaterialsWindow = [this] { materialsWindow().present(); };
    }
    return *glass_;
}

MaterialsWindow& ProgramWindows::materialsWindow() {
    if (!materials_) {
        materials_ = std::make_unique<MaterialsWindow>(dialogs_);
        QObject::connect(materials_.get(), &MaterialsWindow::librarySaved, [this] {
            if (glass_)
                glass_->reloadLibrary();
        });
    }
    return *materials_;
}

int runVeltrona(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Standard buttons and dialogs read in Russian.
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    batch::readDecimalSeparatorFromSystem();
    // Where settings and screenshots are written, chosen once for the whole run.
    storage::chooseDataRootAtStart();
    // The same picture as the desktop's menu entry (scripts/install).
    QApplication::setWindowIcon(programIcon());
    // The program ends when the main window closes, whatever other windows are open.
    QApplication::setQuitOnLastWindowClosed(false);

    QtDialogs dialogs;
    ProgramWindows windows(dialogs);
    MainWindow& mainWindow = windows.mainWindow;
    // exit(), not quit(): quit() would ask every window to close once more.
    QObject::connect(
        &mainWindow, &MainWindow::closed, &application, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);

    mainWindow.show();
    return QApplication::exec();
}
