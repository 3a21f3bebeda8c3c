#include "shell/monitor_views.h"

#include "shell/monitor_window.h"

struct MonitorViews::View {
  std::unique_ptr<CMonitorWindow> window;
  HDC deviceContext = nullptr;  // null: the window stays black
  SceneView view;
  int width = 0;
  int height = 0;
};

namespace {

void ClientSize(HWND window, int& width, int& height) {
  RECT client{};
  GetClientRect(window, &client);
  width = client.right - client.left;
  height = client.bottom - client.top;
}

}  // namespace

MonitorViews::MonitorViews() = default;

MonitorViews::~MonitorViews() { Close(); }

size_t MonitorViews::Count() const { return views_.size(); }

void MonitorViews::Open(HWND run, RenderingContext& context, const SceneOptions& options, uint32_t seed) {
  Close();
  run_ = run;
  const std::vector<ScreenRect> rects = OtherMonitors();
  // Each window keeps its own device context, which holds the pixel format it was given.
  if (rects.empty() || !RegisterMonitorWindowClass(kClassName, CS_OWNDC)) return;
  for (const ScreenRect& rect : rects) {
    View view;
    view.window = std::make_unique<CMonitorWindow>(run);
    if (!view.window->Open(kClassName, rect)) continue;
    view.deviceContext = context.Adopt(view.window->Handle());
    view.view = StartView(options, seed + static_cast<uint32_t>(views_.size()) + 1);
    ClientSize(view.window->Handle(), view.width, view.height);
    views_.push_back(std::move(view));
  }
}

void MonitorViews::DrawFrames(Scene& scene, RenderingContext& context, double seconds) {
  if (views_.empty()) return;
  for (View& view : views_) {
    if (!view.deviceContext || !context.DrawInto(view.deviceContext)) continue;
    ResizeScene(scene, view.width, view.height);
    DrawFrame(scene, view.view, seconds);
    RenderingContext::Swap(view.deviceContext);
  }
  context.DrawInto(nullptr);
  int width = 0, height = 0;
  ClientSize(run_, width, height);
  ResizeScene(scene, width, height);
}

void MonitorViews::Close() {
  for (View& view : views_)
    if (view.deviceContext) ReleaseDC(view.window->Handle(), view.deviceContext);
  views_.clear();
}
