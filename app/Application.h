#pragma once

// Start-up of the program: the application object, the windows in their order, the event loop.
int runVeltrona(int argc, char* argv[]);
