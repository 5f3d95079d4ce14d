#include "app/Application.h"

#include "batch/NumberText.h"
#include "storage/DataRoot.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

ProgramWindows::ProgramWindows(Dialogs& dialogs)
    : form1(dialogs), formGlass(form1, dialogs), hints(form1.StatusBar1) {
    form1.attachWindows(&form2, &form3, &form5);
    form1.openGlassWindow = [this] { formGlass.present(); };
    QCoreApplication::instance()->installEventFilter(&hints);
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
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/desktop/veltrona.svg")));
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
