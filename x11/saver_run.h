#pragma once
// One run of the screensaver on X11: the window, its OpenGL context and the scene, then one
// frame at a time at the display's pace until SIGTERM or SIGINT, the end of the window, or
// (in a window of its own) the user closing it.
#include "x11/options.h"

// The program's exit code: 0 for a run that ended as asked, 1 when it could not start.
int RunSaver(const Options& options);
