#include "app/Application.h"

#include "batch/NumberText.h"

#include <QApplication>

int runVeltrona(int argc, char* argv[]) {
    QApplication application(argc, argv);
    batch::readDecimalSeparatorFromSystem();
    return 0;
}
