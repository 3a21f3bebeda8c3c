#pragma once
// A window object attached to its HWND from the window's first message on. Every
// message goes to HandleMessage; what it does not handle goes to Default, the window
// class's own procedure. Windows of any class can be attached, the system's dialog
// class "#32770" included.
#include <windows.h>

namespace fw {

class Window {
 public:
  Window() = default;
  virtual ~Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // className null: the framework's default window class. Returns false when the
  // window could not be created (a WM_CREATE answered with -1 included).
  bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                HWND parent, UINT id);
  HWND Handle() const { return hwnd_; }

  // The window object attached to hwnd, or null.
  static Window* FromHandle(HWND hwnd);

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs after WM_NCDESTROY, when the window is gone. The default ends the message loop
  // when this was the main window; derived windows that own themselves delete here.
  virtual void PostNcDestroy();

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK AttachHook(int code, WPARAM wParam, LPARAM lParam);
  void Attach(HWND hwnd);

  WNDPROC classProc_ = nullptr;
};

}  // namespace fw
