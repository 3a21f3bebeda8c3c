#pragma once
// The application object: one per process, with a start hook that decides whether the
// message loop runs and an exit hook that runs in every case.
#include <windows.h>

namespace fw {

class Window;

class App {
 public:
  App();
  virtual ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  static App* Instance() { return instance_; }

  // Start hook, exit hook and message loop in that order; returns the exit code.
  int Run(HINSTANCE module, const char* commandLine);

  HINSTANCE Module() const { return module_; }
  const char* CommandLineText() const { return commandLine_; }
  const char* Name() const { return name_; }  // the program's own name, for message-box titles

  // The window whose destruction ends the run; null while none is running.
  Window* mainWindow = nullptr;

 protected:
  virtual bool InitInstance() = 0;  // true: run the message loop
  virtual int ExitInstance();       // the framework's default exit: the loop's exit code

  int loopExitCode_ = 0;

 private:
  static App* instance_;
  HINSTANCE module_ = nullptr;
  const char* commandLine_ = "";
  char name_[MAX_PATH] = "";
};

// The program's name for message boxes: MessageBox(owner, text, App name, flags).
int ShowMessage(HWND owner, const char* text, UINT flags);

}  // namespace fw
