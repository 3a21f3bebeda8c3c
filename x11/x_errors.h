#pragma once
// X errors arrive after the request that caused them. One that names the window being drawn
// means its owner destroyed it: the window counts as gone and the run ends cleanly. A window
// of someone else that vanished while it was looked at is no error of ours; anything else is
// reported on stderr and the run goes on. Losing the display ends the program.
#include <X11/Xlib.h>

namespace x_errors {

void Install(Display* display);
void Watch(Window window);
bool WindowGone();

}  // namespace x_errors
