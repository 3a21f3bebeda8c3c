#include "framework/window.h"

#include "framework/app.h"

namespace fw {
namespace {

constexpr char kObjectProperty[] = "fw.Window";
constexpr char kDefaultClass[] = "TellaroWindow";

// The window being created on this thread and the hook that attaches it before its
// first message (WM_NCCREATE), so that WM_CREATE already reaches the object.
thread_local Window* pendingWindow = nullptr;
thread_local HHOOK attachHook = nullptr;

bool RegisterDefaultClass(HINSTANCE module) {
  WNDCLASSA existing;
  if (GetClassInfoA(module, kDefaultClass, &existing)) return true;
  WNDCLASSA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kDefaultClass;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

Window* Window::FromHandle(HWND hwnd) { return static_cast<Window*>(GetPropA(hwnd, kObjectProperty)); }

bool Window::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                      HWND parent, UINT id) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  if (!className) {
    if (!RegisterDefaultClass(module)) return false;
    className = kDefaultClass;
  }
  pendingWindow = this;
  attachHook = SetWindowsHookExA(WH_CBT, AttachHook, nullptr, GetCurrentThreadId());
  HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  HWND created = CreateWindowExA(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, menuOrId, module, nullptr);
  if (attachHook) UnhookWindowsHookEx(attachHook);
  attachHook = nullptr;
  pendingWindow = nullptr;
  return created != nullptr;
}

LRESULT CALLBACK Window::AttachHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && pendingWindow) {
    Window* window = pendingWindow;
    pendingWindow = nullptr;
    window->Attach(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(attachHook, code, wParam, lParam);
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, kObjectProperty, this);
  classProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::WindowProc)));
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FromHandle(hwnd);
  if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message != WM_NCDESTROY) return window->HandleMessage(message, wParam, lParam);

  LRESULT result = window->HandleMessage(message, wParam, lParam);
  RemovePropA(hwnd, kObjectProperty);
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(window->classProc_));
  window->hwnd_ = nullptr;
  window->PostNcDestroy();
  return result;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(classProc_, hwnd_, message, wParam, lParam);
}

void Window::PostNcDestroy() {
  App* app = App::Instance();
  if (app && app->mainWindow == this) {
    app->mainWindow = nullptr;
    PostQuitMessage(0);
  }
}

}  // namespace fw
