// Milliseconds per DrawFrame at 1024x768 and at 1920x1080: each camera tour's frames from
// its fixed start (min / median / 95th percentile / max), then the orbit's ordinary frames
// and its frames with the sun in view side by side, with their ratio. Each frame is
// finished (glFinish) before the clock stops, so the rasteriser's work counts; the swap
// does not. Natively the frames go to an off-screen OSMesa context, in the Windows build to
// a window's WGL context (under Wine, the host's OpenGL). Prints figures; asserts nothing.
//
// Usage: tellaro_frame_bench [frames] [archive.zip]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "scene/gl.h"
#include "scene/lens_flares.h"
#include "scene/scene.h"
#include "tests/support/fake_scene_host.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <GL/osmesa.h>
#endif

namespace {

// The sizes the figures are given for: a common older display and today's common one.
struct Size {
  int width, height;
};
constexpr Size kSizes[] = {{1024, 768}, {1920, 1080}};

#ifdef _WIN32
// A top-level window of the benchmark's size with a double-buffered RGBA context and a
// 16-bit depth buffer, the pixel format the screensaver asks for.
class Context {
 public:
  explicit Context(Size size) {
    WNDCLASSA type{};
    type.style = CS_OWNDC;
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "TellaroFrameBench";
    RegisterClassA(&type);
    window_ = CreateWindowExA(0, type.lpszClassName, "frame bench", WS_POPUP | WS_VISIBLE, 0, 0, size.width, size.height,
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
  explicit Context(Size size) : pixels_(static_cast<size_t>(size.width) * static_cast<size_t>(size.height)) {
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    ok_ = context_ && OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_BYTE, size.width, size.height);
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

struct Summary {
  double min, median, p95, max;
};
Summary Summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  return Summary{times.front(), times[n / 2], times[std::min(n - 1, n * 95 / 100)], times.back()};
}

// A scene of the given tour in its own context of the given size, loaded from the archive;
// InitScene's milliseconds in `loadMs`. Null (after a message) when there is no context or
// loading failed.
struct Run {
  explicit Run(Size size) : context(size) {}
  Context context;
  FakeSceneHost host;
  Scene scene;
  int presented = 0;  // frames so far, each shown one 60 Hz frame after the one before
  ~Run() { ReleaseSceneGLObjects(scene); }  // its context is still current here
};
std::unique_ptr<Run> StartRun(const std::vector<uint8_t>& archive, Size size, int32_t camMode, double* loadMs) {
  auto run = std::make_unique<Run>(size);
  if (!run->context.ok()) {
    std::fprintf(stderr, "no OpenGL context\n");
    return nullptr;
  }
  run->host.archive = archive;
  SceneOptions options;
  options.cameraTour = camMode;
  options.randomStart = 0;
  const double loadStart = Seconds();
  const SceneLoadResult loaded = InitScene(run->scene, run->host, options, size.width, size.height);
  *loadMs = (Seconds() - loadStart) * 1000.0;
  ResizeScene(run->scene, size.width, size.height);
  if (!loaded) {
    std::fprintf(stderr, "loading failed: %s (%s)\n", NoticeOf(loaded.code()).text, loaded.reason().c_str());
    return nullptr;
  }
  return run;
}

// One timed frame: DrawFrame and glFinish.
double TimedFrame(Run& run) {
  const double start = Seconds();
  DrawFrame(run.scene, run.presented++ / kSceneFramesPerSecond);
  glFinish();
  const double ms = (Seconds() - start) * 1000.0;
  run.context.Present();
  return ms;
}

// Whether the frame just drawn showed the flare: DrawFrame leaves the camera on the
// model-view, so the visibility test sees what the flare saw.
bool FlareDrawn(const Scene& scene) {
  const SunVisibility visibility = TestSunVisibility(kSunPosition, SunOccludersAt(scene, scene.sceneTime));
  return visibility.image.inFront && visibility.visible > 0;
}

void PrintSummary(const char* name, const Summary& summary) {
  std::printf("  %-32s %7.2f / %7.2f / %7.2f / %7.2f", name, summary.min, summary.median, summary.p95, summary.max);
}

bool BenchTours(const std::vector<uint8_t>& archive, Size size, int frames) {
  const struct {
    int32_t camMode;
    const char* name;
  } tours[] = {{kTourMixed, "Cycle All (0)"}, {kTourFlyby, "Phobos flyby (1)"}, {kTourOrbit, "Martian orbit (2)"}};
  for (const auto& tour : tours) {
    double loadMs = 0.0;
    const std::unique_ptr<Run> run = StartRun(archive, size, tour.camMode, &loadMs);
    if (!run) return false;
    std::vector<double> times;
    times.reserve(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) times.push_back(TimedFrame(*run));
    const double first = times.front();
    PrintSummary(tour.name, Summarise(times));
    std::printf("   (first frame %.2f, InitScene %.0f)\n", first, loadMs);
  }
  return true;
}

// The orbit's ordinary frames from its fixed start, its ordinary frames just before the
// sun rises over the planet's limb (from SceneTime 1080: the same stretch of the orbit,
// the planet as near and as large), and its frames with the sun in view (from SceneTime
// 1125 the sun stands above the limb for 300 frames and more, so that every such frame
// also tests the sun's visibility and draws the flare), one of each in turn on one context,
// so that the machine's other work weighs on all alike. The orbit is a closed form of
// SceneTime: each stretch keeps its own clock.
bool BenchSunStretch(const std::vector<uint8_t>& archive, Size size, int frames) {
  double loadMs = 0.0;
  const std::unique_ptr<Run> run = StartRun(archive, size, kTourOrbit, &loadMs);
  if (!run) return false;
  constexpr int kStretches = 3;
  const double stretchStart[kStretches] = {run->scene.sceneTime, 1080.0, 1125.0};
  const char* const stretchName[kStretches] = {"ordinary, fixed start", "ordinary, before sunrise", "sun in view"};
  double clock[kStretches] = {stretchStart[0], stretchStart[1], stretchStart[2]};
  std::vector<double> times[kStretches];
  int flares[kStretches] = {0, 0, 0};
  for (int i = 0; i < frames; ++i)
    for (int k = 0; k < kStretches; ++k) {
      run->scene.sceneTime = clock[k];
      times[k].push_back(TimedFrame(*run));
      clock[k] = run->scene.sceneTime;
      if (FlareDrawn(run->scene)) ++flares[k];
    }
  std::printf(" Martian orbit, one frame of each stretch in turn (the SceneTime it starts from)\n");
  Summary summary[kStretches];
  for (int k = 0; k < kStretches; ++k) {
    summary[k] = Summarise(times[k]);
    char name[64];
    std::snprintf(name, sizeof name, "%s (%.0f)", stretchName[k], stretchStart[k]);
    PrintSummary(name, summary[k]);
    std::printf("   (%d of %d with the flare)\n", flares[k], frames);
  }
  std::printf("  sun in view / ordinary before sunrise: %.2f; / ordinary from the fixed start: %.2f (medians)\n",
              summary[2].median / summary[1].median, summary[2].median / summary[0].median);
  return true;
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
  std::printf("DrawFrame, %s, %d frames each (ms: min / median / 95th percentile / max)\n", Context::Name(), frames);
  for (const Size size : kSizes) {
    std::printf("%dx%d\n", size.width, size.height);
    if (!BenchTours(archive, size, frames) || !BenchSunStretch(archive, size, frames)) return 1;
  }
  return 0;
}
