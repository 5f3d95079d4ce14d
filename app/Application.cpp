#include "app/Application.h"

#include "analysis/Unit5.h"
#include "app/Dialogs.h"
#include "app/HintFilter.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "batch/NumberText.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int runVeltrona(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Standard buttons and dialogs read in Russian.
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    batch::readDecimalSeparatorFromSystem();
    // The program ends when the main window closes, whatever other windows are open.
    QApplication::setQuitOnLastWindowClosed(false);

    QtDialogs dialogs;
    TForm1 form1(dialogs);
    TForm2 form2;
    TForm3 form3;
    TForm5 form5;
    form1.attachWindows(&form2, &form3, &form5);
    HintFilter hints(form1.StatusBar1);
    application.installEventFilter(&hints);
    // exit(), not quit(): quit() would ask every window to close once more.
    QObject::connect(
        &form1, &TForm1::closed, &application, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);

    form1.show();
    return QApplication::exec();
}
