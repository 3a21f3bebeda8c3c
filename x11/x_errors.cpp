#include "x11/x_errors.h"

#include <GL/glx.h>

#include <cstdio>
#include <cstdlib>

namespace {

// GLX's error numbers, offsets from its error base (glxproto.h would bring the whole protocol).
constexpr int kGlxBadDrawable = 2;
constexpr int kGlxBadCurrentDrawable = 11;
constexpr int kGlxBadWindow = 12;

Window watched = 0;
bool gone = false;
int glxErrorBase = -1;

bool NamesAMissingWindow(int code) {
  if (code == BadWindow || code == BadDrawable) return true;
  if (glxErrorBase < 0) return false;
  return code == glxErrorBase + kGlxBadDrawable || code == glxErrorBase + kGlxBadCurrentDrawable ||
         code == glxErrorBase + kGlxBadWindow;
}

int OnError(Display* display, XErrorEvent* event) {
  if (NamesAMissingWindow(event->error_code)) {
    if (event->resourceid == watched) gone = true;
    return 0;
  }
  char text[256] = "";
  XGetErrorText(display, event->error_code, text, sizeof text);
  std::fprintf(stderr, "tellaro: X error: %s (request %d.%d, resource 0x%lx)\n", text, event->request_code,
               event->minor_code, event->resourceid);
  return 0;
}

int OnIoError(Display*) {
  std::fprintf(stderr, "tellaro: the X display went away\n");
  std::exit(1);
}

}  // namespace

namespace x_errors {

void Install(Display* display) {
  int eventBase = 0;
  if (!glXQueryExtension(display, &glxErrorBase, &eventBase)) glxErrorBase = -1;
  XSetErrorHandler(OnError);
  XSetIOErrorHandler(OnIoError);
}

void Watch(Window window) { watched = window; }

bool WindowGone() { return gone; }

}  // namespace x_errors
