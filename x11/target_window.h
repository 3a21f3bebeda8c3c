#pragma once
// The window a run draws into: one named by its number (XScreenSaver's, or any other
// program's), the root or the virtual root a desktop has put over it, or a window of the
// program's own for trying it out. A window the program did not create keeps its owner's
// visual, which the OpenGL context then uses; of such a window the program only follows
// the structure events (ConfigureNotify for its size, DestroyNotify for its end).
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

#include "x11/options.h"

struct TargetWindow {
  Window window = 0;
  bool own = false;
  XVisualInfo visual{};
  Colormap colormap = 0;  // own window only
  int width = 0;
  int height = 0;
  Atom deleteWindow = 0;  // WM_DELETE_WINDOW, own window only
};

// The child of the root that carries a __SWM_VROOT property naming a window, if any, else
// the root itself.
Window VirtualRoot(Display* display, int screen);

// False, with the reason in `error`, when the window does not exist or its visual offers no
// OpenGL.
bool OpenTargetWindow(Display* display, const Options& options, TargetWindow* target, std::string* error);

// Destroys the window if it is the program's own.
void CloseTargetWindow(Display* display, TargetWindow* target);
