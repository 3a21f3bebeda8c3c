#include "x11/saver_run.h"

#include <X11/keysym.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "scene/frame_rate_overlay.h"
#include "scene/scene.h"
#include "x11/frame_pacing.h"
#include "x11/glx_surface.h"
#include "x11/refresh_rate.h"
#include "x11/stop_signals.h"
#include "x11/target_window.h"
#include "x11/x11_scene_host.h"
#include "x11/x_errors.h"

namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// Frames per second to pace the run at; 0 when the swap itself waits for the refresh or
// when frames are to come as fast as they can be drawn.
double ChoosePace(Display* display, const Options& options, const TargetWindow& target, GlxSurface& surface) {
  if (options.frameRate != kDisplayFrameRate) {
    surface.SetSwapInterval(0);
    return options.frameRate;
  }
  if (surface.SetSwapInterval(1)) return 0.0;
  return DisplayRefreshRate(display, RootWindow(display, target.visual.screen));
}

// Every queued event; false when the run is to end.
bool DispatchEvents(Display* display, TargetWindow& target, Scene& scene) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case ConfigureNotify:
        if (event.xconfigure.window == target.window &&
            (event.xconfigure.width != target.width || event.xconfigure.height != target.height)) {
          target.width = event.xconfigure.width;
          target.height = event.xconfigure.height;
          ResizeScene(scene, target.width, target.height);
        }
        break;
      case DestroyNotify:
        if (event.xdestroywindow.window == target.window) return false;
        break;
      case ClientMessage:
        if (target.own && static_cast<Atom>(event.xclient.data.l[0]) == target.deleteWindow) return false;
        break;
      case KeyPress:
        if (target.own) {
          const KeySym key = XLookupKeysym(&event.xkey, 0);
          if (key == XK_q || key == XK_Escape) return false;
        }
        break;
      default:
        break;
    }
  }
  return true;
}

// Until an X event or a stop signal arrives, or `milliseconds` have passed.
void WaitForInput(Display* display, int wake, int milliseconds) {
  pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {wake, POLLIN, 0}};
  poll(watched, wake >= 0 ? 2 : 1, milliseconds);
}

// `overlay`: null, or the frame rate to draw over each frame.
void DrawUntilStopped(Display* display, const Options& options, int wake, TargetWindow& target, GlxSurface& surface,
                      Scene& scene, FrameRateOverlay* overlay) {
  FramePacer pacer(ChoosePace(display, options, target, surface));
  if (options.pauseGiven) scene.clock.StopAfter(options.pauseAfter * kSceneFramesPerSecond);
  bool pauseTold = false;
  while (DispatchEvents(display, target, scene) && !stop_signals::Requested() && !x_errors::WindowGone()) {
    const int wait = pacer.WaitMilliseconds(Now());
    if (wait > 0) {
      WaitForInput(display, wake, wait);
      continue;
    }
    const double start = Now();
    // With a frame rate of its own the frame shows the moment it was due, free of the
    // wait's rounding; otherwise the moment it starts.
    DrawFrame(scene, pacer.FrameStarted(start));
    if (overlay) overlay->Draw(target.width, target.height);
    surface.Swap();
    if (overlay) overlay->CountFrame(start, Now());
    if (scene.clock.Stopped() && !pauseTold) {
      XSync(display, False);  // the picture is on the screen before the line says so
      std::printf("tellaro: paused at scene time %.9f\n", scene.sceneTime);
      std::fflush(stdout);
      pauseTold = true;
    }
  }
}

int RunOnDisplay(Display* display, const Options& options, int wake) {
  TargetWindow target;
  std::string error;
  if (!OpenTargetWindow(display, options, &target, &error)) {
    std::fprintf(stderr, "tellaro: %s\n", error.c_str());
    return 1;
  }
  x_errors::Watch(target.window);
  GlxSurface surface;
  int code = 0;
  if (!surface.Create(display, target, &error)) {
    std::fprintf(stderr, "tellaro: %s\n", error.c_str());
    code = 1;
  } else {
    auto scene = std::make_unique<Scene>();
    FrameRateOverlay overlay;
    X11SceneHost host;
    const SceneLoadResult loaded = InitScene(*scene, host, options.scene, target.width, target.height);
    if (options.startTimeGiven) scene->sceneTime = options.startTime;
    if (!loaded) {
      std::fprintf(stderr, "tellaro: %s (%s)\n", NoticeOf(loaded.code()).text, loaded.reason().c_str());
      code = 1;
    } else {
      ResizeScene(*scene, target.width, target.height);
      DrawUntilStopped(display, options, wake, target, surface, *scene, options.showFrameRate ? &overlay : nullptr);
    }
    // The scene's textures and display lists go while their context is current, then the
    // context, then the pixel buffers.
    ReleaseSceneGLObjects(*scene);
    overlay.Release();
    surface.Release();
    ReleaseSceneBuffers(*scene);
  }
  CloseTargetWindow(display, &target);
  return code;
}

}  // namespace

int RunSaver(const Options& options) {
  const int wake = stop_signals::Install();
  Display* display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
  if (!display) {
    std::fprintf(stderr, "tellaro: cannot open the X display \"%s\"\n",
                 XDisplayName(options.display.empty() ? nullptr : options.display.c_str()));
    return 1;
  }
  x_errors::Install(display);
  const int code = RunOnDisplay(display, options, wake);
  // The connection ends with the process. Closing it here would unload the OpenGL driver,
  // whose retained allocations the sanitizer build would then report as leaks of an unknown
  // module; the server frees the window, colormap and context of a closed connection either
  // way.
  XSync(display, False);
  return code;
}
