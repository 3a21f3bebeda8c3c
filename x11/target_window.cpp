#include "x11/target_window.h"

#include <GL/glx.h>
#include <X11/Xatom.h>

#include <cstdio>

namespace {

constexpr int kOwnWidth = 800;
constexpr int kOwnHeight = 600;

std::string Hex(unsigned long value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", value);
  return text;
}

bool VisualOf(Display* display, Visual* visual, int screen, XVisualInfo* info) {
  XVisualInfo wanted{};
  wanted.visualid = XVisualIDFromVisual(visual);
  wanted.screen = screen;
  int count = 0;
  XVisualInfo* found = XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &wanted, &count);
  if (!found) return false;
  *info = found[0];
  XFree(found);
  return true;
}

// Somebody else's window: listen first, then read the size, so no resize falls in between.
bool Adopt(Display* display, Window window, TargetWindow* target, std::string* error) {
  XSelectInput(display, window, StructureNotifyMask);
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) {
    *error = "there is no window " + Hex(window) + " on this display";
    return false;
  }
  if (!VisualOf(display, attributes.visual, XScreenNumberOfScreen(attributes.screen), &target->visual)) {
    *error = "the visual of window " + Hex(window) + " is unknown";
    return false;
  }
  int usesGl = 0;
  if (glXGetConfig(display, &target->visual, GLX_USE_GL, &usesGl) != 0 || !usesGl) {
    *error = "the visual " + Hex(target->visual.visualid) + " of window " + Hex(window) + " offers no OpenGL";
    return false;
  }
  target->window = window;
  target->width = attributes.width;
  target->height = attributes.height;
  return true;
}

bool CreateOwn(Display* display, TargetWindow* target, std::string* error) {
  const int screen = DefaultScreen(display);
  int attributes[] = {GLX_RGBA,      GLX_DOUBLEBUFFER, GLX_RED_SIZE,   5, GLX_GREEN_SIZE, 5,
                      GLX_BLUE_SIZE, 5,                GLX_DEPTH_SIZE, 16, None};
  XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
  if (!visual) {
    *error = "the display offers no double-buffered OpenGL visual with a depth buffer";
    return false;
  }
  target->visual = *visual;
  XFree(visual);
  const Window root = RootWindow(display, screen);
  target->colormap = XCreateColormap(display, root, target->visual.visual, AllocNone);
  XSetWindowAttributes set{};
  set.colormap = target->colormap;
  set.background_pixel = 0;
  set.border_pixel = 0;
  set.event_mask = StructureNotifyMask | KeyPressMask;
  target->window = XCreateWindow(display, root, 0, 0, kOwnWidth, kOwnHeight, 0, target->visual.depth, InputOutput,
                                 target->visual.visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &set);
  target->own = true;
  target->width = kOwnWidth;
  target->height = kOwnHeight;
  XStoreName(display, target->window, "Tellaro");
  XClassHint hint{};
  char name[] = "tellaro", className[] = "Tellaro";
  hint.res_name = name;
  hint.res_class = className;
  XSetClassHint(display, target->window, &hint);
  target->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, target->window, &target->deleteWindow, 1);
  XMapWindow(display, target->window);
  return true;
}

}  // namespace

Window VirtualRoot(Display* display, int screen) {
  const Window root = RootWindow(display, screen);
  const Atom vrootAtom = XInternAtom(display, "__SWM_VROOT", False);
  Window rootReturn = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return root;
  Window found = root;
  for (unsigned int i = 0; i < count && found == root; ++i) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, children[i], vrootAtom, 0, 1, False, XA_WINDOW, &type, &format, &items,
                           &remaining, &data) == Success &&
        type == XA_WINDOW && format == 32 && items == 1 && data) {
      found = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));  // format 32 comes as longs
    }
    if (data) XFree(data);
  }
  if (children) XFree(children);
  return found;
}

bool OpenTargetWindow(Display* display, const Options& options, TargetWindow* target, std::string* error) {
  switch (options.target) {
    case DrawTarget::WindowId:
      return Adopt(display, options.windowId, target, error);
    case DrawTarget::Root:
      return Adopt(display, VirtualRoot(display, DefaultScreen(display)), target, error);
    case DrawTarget::OwnWindow:
      break;
  }
  return CreateOwn(display, target, error);
}

void CloseTargetWindow(Display* display, TargetWindow* target) {
  if (!target->own) return;
  XDestroyWindow(display, target->window);
  XFreeColormap(display, target->colormap);
  target->window = 0;
  target->colormap = 0;
}
