// Milliseconds per DrawFrame at 1024x768 for each camera tour, min/median/max over a run of
// frames from the tour's fixed start. Each frame is finished (glFinish) before the clock
// stops, so the rasteriser's work counts; the swap does not. Natively the frames go to an
// off-screen OSMesa context, in the Windows build to a window's WGL context (under Wine,
// the host's OpenGL). Prints figures; asserts nothing.
//
// Usage: tellaro_frame_bench [frames] [archive.zip]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "scene/gl.h"
#include "scene/scene.h"
#include "tests/support/fake_scene_host.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <GL/osmesa.h>
#endif

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

#ifdef _WIN32
// A top-level window of the benchmark's size with a double-buffered RGBA context and a
// 16-bit depth buffer, the pixel format the screensaver asks for.
class Context {
 public:
  Context() {
    WNDCLASSA type{};
    type.style = CS_OWNDC;
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "TellaroFrameBench";
    RegisterClassA(&type);
    window_ = CreateWindowExA(0, type.lpszClassName, "frame bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                              nullptr, nullptr, type.hInstance, nullptr);
    if (!window_) return;
    dc_ = GetDC(window_);
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 16;
    format.cDepthBits = 16;
    if (!SetPixelFormat(dc_, ChoosePixelFormat(dc_, &format), &format)) return;
    context_ = wglCreateContext(dc_);
    ok_ = context_ && wglMakeCurrent(dc_, context_);
  }
  ~Context() {
    wglMakeCurrent(nullptr, nullptr);
    if (context_) wglDeleteContext(context_);
    if (dc_) ReleaseDC(window_, dc_);
    if (window_) DestroyWindow(window_);
  }
  bool ok() const { return ok_; }
  void Present() {
    SwapBuffers(dc_);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  static const char* Name() { return "WGL window"; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HGLRC context_ = nullptr;
  bool ok_ = false;
};
#else
class Context {
 public:
  Context() : pixels_(static_cast<size_t>(kWidth) * kHeight) {
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    ok_ = context_ && OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, kWidth, kHeight);
  }
  ~Context() {
    if (context_) OSMesaDestroyContext(context_);
  }
  bool ok() const { return ok_; }
  void Present() {}
  static const char* Name() { return "OSMesa off screen"; }

 private:
  std::vector<uint32_t> pixels_;
  OSMesaContext context_ = nullptr;
  bool ok_ = false;
};
#endif

std::vector<uint8_t> ReadFile(const char* path) {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path, "rb");
  if (!file) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return bytes;
}

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 600;  // the mixed tour passes at 500
  const char* archivePath = argc > 2 ? argv[2] : TELLARO_BENCH_ARCHIVE;
  const std::vector<uint8_t> archive = ReadFile(archivePath);
  if (archive.empty()) {
    std::fprintf(stderr, "cannot read the data archive %s\n", archivePath);
    return 1;
  }
  std::printf("DrawFrame at %dx%d, %s, %d frames per tour (ms: min / median / max)\n", kWidth, kHeight,
              Context::Name(), frames);
  // The last row starts the orbit where the sun stands in view above the planet's limb for
  // the next 300 frames and more, so that every frame also reads the ring's depth and draws
  // the 28 flare quads.
  const struct {
    int32_t camMode;
    const char* name;
    double startTime;  // 0: the tour's fixed start
  } tours[] = {{kTourMixed, "Cycle All (0)", 0.0},
               {kTourFlyby, "Phobos flyby (1)", 0.0},
               {kTourOrbit, "Martian orbit (2)", 0.0},
               {kTourOrbit, "orbit, sun in view", 1125.0}};
  for (const auto& tour : tours) {
    Context context;
    if (!context.ok()) {
      std::fprintf(stderr, "no OpenGL context\n");
      return 1;
    }
    FakeSceneHost host;
    host.archive = archive;
    Settings settings;
    settings.CamMode = tour.camMode;
    settings.RandomCameraStart = 0;
    Scene scene;
    const double loadStart = Seconds();
    InitScene(scene, host, settings, kWidth, kHeight);
    const double loadMs = (Seconds() - loadStart) * 1000.0;
    ResizeScene(scene, kWidth, kHeight);
    if (tour.startTime > 0.0) scene.sceneTime = tour.startTime;
    if (!host.messages.empty()) {
      std::fprintf(stderr, "loading failed: %s\n", host.messages[0].text.c_str());
      return 1;
    }
    std::vector<double> times;
    times.reserve(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
      const double start = Seconds();
      DrawFrame(scene);
      glFinish();
      times.push_back((Seconds() - start) * 1000.0);
      context.Present();
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("  %-18s %7.2f / %7.2f / %7.2f   (first frame %.2f, InitScene %.0f)\n", tour.name, times.front(),
                times[times.size() / 2], times.back(), first, loadMs);
  }
  return 0;
}
