#include "framework/window.h"

#include <vector>

#include "framework/app.h"

namespace fw {
namespace {

constexpr char kObjectProperty[] = "fw.Window";
constexpr char kDefaultClass[] = "TellaroWindow";

// Objects waiting for their window on this thread, innermost creation last. An entry
// becomes null once its window exists, so windows created afterwards inside the same
// creation (plain child controls) are left alone.
thread_local std::vector<Window*> pendingWindows;
thread_local HHOOK attachHook = nullptr;

int lifetimeFaults = 0;
int escapedExceptions = 0;

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

bool OfThisProcess(HWND hwnd) {
  DWORD process = 0;
  return hwnd && GetWindowThreadProcessId(hwnd, &process) != 0 && process == GetCurrentProcessId();
}

}  // namespace

int LifetimeFaults() { return lifetimeFaults; }

int EscapedExceptions() { return escapedExceptions; }

void NoteEscapedException() {
  ++escapedExceptions;
  OutputDebugStringA("fw: an exception escaped a message handler and was stopped\n");
}

CreationScope::CreationScope(Window* window) {
  if (pendingWindows.empty())
    attachHook = SetWindowsHookExA(WH_CBT, &Window::AttachHook, nullptr, GetCurrentThreadId());
  pendingWindows.push_back(window);
}

CreationScope::~CreationScope() {
  pendingWindows.pop_back();
  if (pendingWindows.empty() && attachHook) {
    UnhookWindowsHookEx(attachHook);
    attachHook = nullptr;
  }
}

// Runs before the new window's first message.
LRESULT CALLBACK Window::AttachHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && !pendingWindows.empty() && pendingWindows.back()) {
    Window* window = pendingWindows.back();
    pendingWindows.back() = nullptr;
    window->Attach(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(attachHook, code, wParam, lParam);
}

Window::~Window() {
  if (!hwnd_) return;
  // The owner freed the object before its window: keep the window away from freed
  // memory, end it, and make the fault visible.
  ++lifetimeFaults;
  OutputDebugStringA("fw::Window: object freed while its window still existed\n");
  HWND orphan = hwnd_;
  Detach();
  DestroyWindow(orphan);
}

Window* Window::FromHandle(HWND hwnd) {
  if (!OfThisProcess(hwnd)) return nullptr;
  Window* window = static_cast<Window*>(GetPropA(hwnd, kObjectProperty));
  return window && window->hwnd_ == hwnd ? window : nullptr;
}

bool Window::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                      HWND parent, UINT id) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  if (!className) {
    if (!RegisterDefaultClass(module)) return false;
    className = kDefaultClass;
  }
  HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  CreationScope scope(this);
  HWND created = CreateWindowExA(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, menuOrId, module, nullptr);
  return created != nullptr;
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  SetPropA(hwnd, kObjectProperty, this);
  if (subclass_)
    classProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::WindowProc)));
}

void Window::Detach() {
  RemovePropA(hwnd_, kObjectProperty);
  // Only undo our own subclassing; a later one stays in its place.
  if (subclass_ && GetWindowLongPtrA(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Window::WindowProc))
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc_));
  hwnd_ = nullptr;
}

void Window::Finish() {
  Detach();
  PostNcDestroy();
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = FromHandle(hwnd);
  if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = window->HandleMessage(message, wParam, lParam);
  } catch (...) {
    NoteEscapedException();
  }
  if (message == WM_NCDESTROY) window->Finish();
  return result;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(classProc_, hwnd_, message, wParam, lParam);
}

void Window::PostNcDestroy() {
  if (App* app = App::Instance()) app->WindowGone(this);
}

}  // namespace fw
