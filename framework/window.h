#pragma once
// A window object attached to its HWND from the window's first message on.
//
// Ownership, the one rule for every window and dialog: whoever creates the object owns it,
// and the window ends before the object does. An owner destroys the window (Destroy, or
// the system does it, as for a child whose parent goes) and frees the object afterwards;
// the framework itself never deletes an object. An object freed while its window still
// exists is a fault: its destructor detaches the window, so that nothing reaches freed
// memory, destroys it, and reports the fault (LifetimeFaults counts them).
//
// Windows of any class can be attached, the system's dialog class "#32770" included.
#include <windows.h>

namespace fw {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // className null: the framework's default window class. Returns false when the
  // window could not be created (a WM_CREATE answered with -1 included).
  bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& rect,
                HWND parent, UINT id);
  // Destroys the window while the whole object is still there, so that the derived
  // class's WM_DESTROY handling runs. Nothing happens when there is no window.
  void Destroy();
  HWND Handle() const { return hwnd_; }

  // The object attached to hwnd in this process, or null (for a window of another
  // process too, even one of a sibling program built from the same code).
  static Window* FromHandle(HWND hwnd);

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // Runs after WM_NCDESTROY, when the window is gone; the object itself stays with its
  // owner. The default ends the message loop when this was the application's main window.
  virtual void PostNcDestroy();

  HWND hwnd_ = nullptr;

 private:
  friend class Dialog;
  friend class CreationScope;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK AttachHook(int code, WPARAM wParam, LPARAM lParam);
  void Attach(HWND hwnd);
  void Detach();
  // Called by the dialog procedure and the window procedure at WM_NCDESTROY.
  void Finish();

  WNDPROC classProc_ = nullptr;
  bool subclass_ = true;  // dialogs get their messages through the dialog procedure instead
};

// Objects freed while their window still existed, since the process started.
int LifetimeFaults();

// Exceptions that a message handler let escape, since the process started. The window and
// dialog procedures stop every one of them at the boundary to the system, whose frames no
// exception may cross: the message then gets the result of an unhandled one (0, or FALSE
// from a dialog), the fault is reported, and the program goes on.
int EscapedExceptions();
void NoteEscapedException();

// Attaches `window` to the first window created on this thread while the scope lives.
// Scopes nest: a window created while another is being created (a child made in
// WM_CREATE or WM_INITDIALOG) is attached to its own object, and the outer one keeps its.
class CreationScope {
 public:
  explicit CreationScope(Window* window);
  ~CreationScope();
  CreationScope(const CreationScope&) = delete;
  CreationScope& operator=(const CreationScope&) = delete;
};

}  // namespace fw
