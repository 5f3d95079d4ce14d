#pragma once

#include "analysis/AnalysisWindow.h"
#include "app/AboutWindow.h"
#include "app/Dialogs.h"
#include "app/GlassWindow.h"
#include "app/HintFilter.h"
#include "app/MainWindow.h"
#include "app/MaterialsWindow.h"
#include "app/SettingsWindow.h"

#include <memory>

// The program's windows with the application-wide hint rule installed. The main window comes
// first, then the settings window, whose check boxes the main window's refresh reads from the
// first tick on; both exist from the start. The About, analysis, glass-composition and
// raw-materials library windows are made when they are first opened (or first asked for here), so
// that the start pays only for what the user sees; once made, they live as long as the main
// window. Closing the main window ends the program, so it first closes a library window with
// unsaved edits, which asks about them; when that window stays open, so does the program.
class ProgramWindows {
public:
    explicit ProgramWindows(Dialogs& dialogs);
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    MainWindow mainWindow;
    SettingsWindow settingsWindow;
    HintFilter hints;

    AboutWindow& aboutWindow();
    AnalysisWindow& analysisWindow();
    GlassWindow& glassWindow();
    MaterialsWindow& materialsWindow();

private:
    Dialogs& dialogs_;
    // Declared after the main window, so they go before it: the composition window writes into it.
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<AnalysisWindow> analysis_;
    std::unique_ptr<GlassWindow> glass_;
    std::unique_ptr<MaterialsWindow> materials_;
    std::unique_ptr<QObject> closeGuard_;
};

// Start-up of the program: the application object, the windows in their order, the event loop.
int runVeltrona(int argc, char* argv[]);
