#pragma once

#include "analysis/Unit5.h"
#include "app/Dialogs.h"
#include "app/GlassWindow.h"
#include "app/HintFilter.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"

// The program's windows, created in the start-up order (the main window first, then the settings,
// About, analysis and glass-composition windows, all hidden), with the application-wide hint rule
// installed.
struct ProgramWindows {
    explicit ProgramWindows(Dialogs& dialogs);

    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    TForm5 form5;
    GlassWindow formGlass;
    HintFilter hints;
};

// Start-up of the program: the application object, the windows in their order, the event loop.
int runVeltrona(int argc, char* argv[]);
