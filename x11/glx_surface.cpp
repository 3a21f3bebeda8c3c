#include "x11/glx_surface.h"

#include <cstdio>
#include <cstring>

namespace {

bool HasExtension(const char* list, const char* name) {
  const size_t length = std::strlen(name);
  for (const char* at = list; at && (at = std::strstr(at, name)) != nullptr; at += length) {
    const bool starts = at == list || at[-1] == ' ';
    const bool ends = at[length] == ' ' || at[length] == '\0';
    if (starts && ends) return true;
  }
  return false;
}

template <typename Function>
Function Lookup(const char* name) {
  // glXGetProcAddress hands out void (*)(void), which converts to any function pointer.
  return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

bool GlxSurface::Create(Display* display, const TargetWindow& target, std::string* error) {
  display_ = display;
  drawable_ = target.window;
  XVisualInfo visual = target.visual;
  int value = 0;
  if (glXGetConfig(display, &visual, GLX_DOUBLEBUFFER, &value) == 0) doubleBuffered_ = value != 0;
  if (glXGetConfig(display, &visual, GLX_DEPTH_SIZE, &value) == 0 && value == 0)
    std::fprintf(stderr, "tellaro: the window's visual has no depth buffer; bodies will show through each other\n");
  context_ = glXCreateContext(display, &visual, nullptr, True);
  if (!context_) {
    *error = "no OpenGL context for the window's visual";
    return false;
  }
  if (!glXMakeCurrent(display, drawable_, context_)) {
    *error = "the OpenGL context cannot draw into the window";
    return false;
  }
  return true;
}

bool GlxSurface::SetSwapInterval(int interval) {
  const char* extensions = glXQueryExtensionsString(display_, DefaultScreen(display_));
  if (HasExtension(extensions, "GLX_EXT_swap_control")) {
    using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
    if (auto set = Lookup<SwapIntervalExt>("glXSwapIntervalEXT")) {
      set(display_, drawable_, interval);
      return true;
    }
  }
  if (HasExtension(extensions, "GLX_MESA_swap_control")) {
    using SwapIntervalMesa = int (*)(unsigned int);
    if (auto set = Lookup<SwapIntervalMesa>("glXSwapIntervalMESA"))
      return set(static_cast<unsigned int>(interval)) == 0;
  }
  // The SGI form knows no interval 0.
  if (interval > 0 && HasExtension(extensions, "GLX_SGI_swap_control")) {
    using SwapIntervalSgi = int (*)(int);
    if (auto set = Lookup<SwapIntervalSgi>("glXSwapIntervalSGI")) return set(interval) == 0;
  }
  return false;
}

void GlxSurface::Swap() {
  if (doubleBuffered_)
    glXSwapBuffers(display_, drawable_);
  else
    glFlush();
}

void GlxSurface::Release() {
  if (!context_) return;
  glXMakeCurrent(display_, None, nullptr);
  glXDestroyContext(display_, context_);
  context_ = nullptr;
}
