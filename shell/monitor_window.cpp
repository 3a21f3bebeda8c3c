#include "shell/monitor_window.h"

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

}  // namespace

std::vector<ScreenRect> OtherMonitors() {
  MonitorList list;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&list));
  return OtherMonitorRects(list.monitors, list.primary);
}

bool RegisterMonitorWindowClass(const char* className, UINT style) {
  WNDCLASSA windowClass{};
  windowClass.style = style;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = className;
  return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CMonitorWindow::Open(const char* className, const ScreenRect& rect) {
  const RECT area{rect.left, rect.top, rect.right, rect.bottom};
  if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, "", WS_POPUP, area, nullptr, 0)) return false;
  // Shown without activation: the run's window keeps it, losing it would end the run.
  SetWindowPos(hwnd_, run_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return true;
}

LRESULT CMonitorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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

LRESULT CMonitorWindow::OnMouseMove(WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  MapWindowPoints(hwnd_, run_, &point, 1);
  PostMessageA(run_, WM_MOUSEMOVE, wParam, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
  return 0;
}
