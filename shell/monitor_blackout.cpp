#include "shell/monitor_blackout.h"

#include "framework/window.h"
#include "shell/monitor_layout.h"

namespace {

struct MonitorList {
  std::vector<ScreenRect> monitors;
  ScreenRect primary;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MonitorList* list = reinterpret_cast<MonitorList*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return TRUE;
  const ScreenRect rect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  list->monitors.push_back(rect);
  if (info.dwFlags & MONITORINFOF_PRIMARY) list->primary = rect;
  return TRUE;
}

bool RegisterBlackClass() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = MonitorBlackout::kClassName;
  return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

// Hands its input to the run's window, mouse positions in that window's coordinates.
class MonitorBlackout::CBlackWindow : public fw::Window {
 public:
  explicit CBlackWindow(HWND run) : run_(run) {}
  ~CBlackWindow() override { Destroy(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click ends the run through its button message
      case WM_SETCURSOR:
        return SendMessageA(run_, WM_SETCURSOR, reinterpret_cast<WPARAM>(run_), lParam);
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
      case WM_LBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_RBUTTONDOWN:
        PostMessageA(run_, message, wParam, lParam);
        return 0;
      case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
      default:
        return Default(message, wParam, lParam);
    }
  }

 private:
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(hwnd_, run_, &point, 1);
    PostMessageA(run_, WM_MOUSEMOVE, wParam,
                 MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    return 0;
  }

  HWND run_;
};

MonitorBlackout::MonitorBlackout() = default;

MonitorBlackout::~MonitorBlackout() { Remove(); }

void MonitorBlackout::Cover(HWND run) {
  Remove();
  MonitorList list;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&list));
  const std::vector<ScreenRect> rects = BlackoutRects(list.monitors, list.primary);
  if (rects.empty() || !RegisterBlackClass()) return;
  for (const ScreenRect& rect : rects) {
    auto window = std::make_unique<CBlackWindow>(run);
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    if (!window->CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, area, nullptr, 0)) continue;
    // Shown without activation: the run's window keeps it, losing it would end the run.
    SetWindowPos(window->Handle(), run, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    windows_.push_back(std::move(window));
  }
}

void MonitorBlackout::Remove() { windows_.clear(); }
