#include "app/Application.h"

#include "batch/NumberText.h"
#include "storage/DataRoot.h"

#include <QApplication>
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

} // namespace

ProgramWindows::ProgramWindows(Dialogs& dialogs)
    : form1(dialogs), hints(form1.StatusBar1), dialogs_(dialogs) {
    form1.attachWindows(
        &form2,
        [this] {
            about_ = std::make_unique<TForm3>();
            return about_.get();
        },
        [this] {
            analysis_ = std::make_unique<TForm5>();
            return analysis_.get();
        });
    form1.openGlassWindow = [this] { formGlass().present(); };
    QCoreApplication::instance()->installEventFilter(&hints);
}

ProgramWindows::~ProgramWindows() = default;

TForm3& ProgramWindows::form3() {
    return *form1.aboutWindow();
}

TForm5& ProgramWindows::form5() {
    return *form1.analysisWindow();
}

GlassWindow& ProgramWindows::formGlass() {
    if (!glass_)
        glass_ = std::make_unique<GlassWindow>(form1, dialogs_);
    return *glass_;
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
    TForm1& form1 = windows.form1;
    // exit(), not quit(): quit() would ask every window to close once more.
    QObject::connect(
        &form1, &TForm1::closed, &application, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);

    form1.show();
    return QApplication::exec();
}
