#pragma once
// The application object: one per process, with a start hook that decides whether the
// message loop runs and an exit hook that runs in every case.
#include <windows.h>

#include <memory>

namespace fw {

class Window;

class App {
 public:
  App();
  virtual ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  static App* Instance() { return instance_; }

  // Start hook, message loop and exit hook in that order; returns the exit code.
  int Run(HINSTANCE module, const char* commandLine);

  HINSTANCE Module() const { return module_; }
  const char* CommandLineText() const { return commandLine_; }
  const char* Name() const { return name_; }  // the program's own name, for message-box titles

  // The window whose end ends the run; the application owns the object. A main window
  // that is still there when the loop ends (a quit request) is destroyed, then freed.
  Window* MainWindow() const { return mainWindow_.get(); }
  void SetMainWindow(std::unique_ptr<Window> window);

  // Called by every window after its end; ends the loop when it was the main window.
  void WindowGone(Window* window);

 protected:
  virtual bool InitInstance() = 0;  // true: run the message loop
  virtual int ExitInstance();       // the framework's default exit: the loop's exit code

  int loopExitCode_ = 0;

 private:
  void MessageLoop();
  void EndMainWindow();

  static App* instance_;
  HINSTANCE module_ = nullptr;
  const char* commandLine_ = "";
  char name_[MAX_PATH] = "";
  std::unique_ptr<Window> mainWindow_;
  bool looping_ = false;
};

// The common controls the dialogs use (list view, trackbar, tab control, progress bar).
void InitCommonControlsOnce();

// The program's name for message boxes: MessageBox(owner, text, App name, flags).
int ShowMessage(HWND owner, const char* text, UINT flags);

}  // namespace fw
