// Preloaded into an OpenGL program on X11 (LD_PRELOAD), it counts the program's buffer swaps,
// through GLX or through EGL (as XScreenSaver's own programs present their frames), and
// appends the frames of every second to the file named by TELLARO_SWAP_LOG, one "<seconds since
// the first swap> <frames per second>" line each, so that any two programs are measured alike.
// When TELLARO_SWAP_INTERVALS names a file too, every swap after the first appends "<seconds
// since the first swap> <milliseconds since the swap before>" there: a rate hides uneven frames.
#include <GL/glx.h>
#include <dlfcn.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

using SwapBuffers = void (*)(Display*, GLXDrawable);
// EGL's types without its headers: EGLBoolean (*)(EGLDisplay, EGLSurface).
using EglSwapBuffers = unsigned int (*)(void*, void*);

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Counter {
  SwapBuffers real = nullptr;
  EglSwapBuffers realEgl = nullptr;
  std::FILE* log = nullptr;
  std::FILE* intervals = nullptr;
  bool started = false;
  double first = 0.0, stretch = 0.0, last = 0.0;
  int frames = 0;

  static std::FILE* Open(const char* variable) {
    const char* path = std::getenv(variable);
    return path ? std::fopen(path, "a") : nullptr;
  }

  void Count() {
    const double now = Now();
    if (!started) {
      started = true;
      first = stretch = last = now;
      log = Open("TELLARO_SWAP_LOG");
      intervals = Open("TELLARO_SWAP_INTERVALS");
      return;
    }
    // Flushed at once: the program ends by a signal, which would drop a buffer.
    if (intervals) {
      std::fprintf(intervals, "%.3f %.3f\n", now - first, (now - last) * 1e3);
      std::fflush(intervals);
    }
    last = now;
    ++frames;
    if (now - stretch < 1.0) return;
    if (log) {
      std::fprintf(log, "%.2f %.2f\n", now - first, frames / (now - stretch));
      std::fflush(log);
    }
    stretch = now;
    frames = 0;
  }
};

Counter counter;

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  if (!counter.real) counter.real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  if (counter.real) counter.real(display, drawable);
  counter.Count();
}

extern "C" unsigned int eglSwapBuffers(void* display, void* surface) {
  if (!counter.realEgl) counter.realEgl = reinterpret_cast<EglSwapBuffers>(dlsym(RTLD_NEXT, "eglSwapBuffers"));
  const unsigned int done = counter.realEgl ? counter.realEgl(display, surface) : 0u;
  counter.Count();
  return done;
}
