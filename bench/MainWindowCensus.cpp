// Prints the controls of the program's main window by kind (bench/WidgetCensus.h), for
// bench/measure-startup-ratio to hold the bare window of BareMainWindow.cpp against.
#include "WidgetCensus.h"
#include "app/Application.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QtDialogs dialogs;
    MainWindow mainWindow(dialogs);
    printWidgetCensus(mainWindow);
    return 0;
}
