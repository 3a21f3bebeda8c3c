#pragma once
// The display's refresh rate in frames per second, as the X server's RandR extension reports
// it; 60 when it reports none (as virtual servers do).
#include <X11/Xlib.h>

int DisplayRefreshRate(Display* display, Window root);
