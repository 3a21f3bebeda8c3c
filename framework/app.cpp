#include "framework/app.h"

#include <commctrl.h>

#include <cstring>

#include "framework/dialog.h"
#include "framework/window.h"

namespace fw {

App* App::instance_ = nullptr;

App::App() { instance_ = this; }

App::~App() {
  EndMainWindow();
  if (instance_ == this) instance_ = nullptr;
}

void InitCommonControlsOnce() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                 ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&classes) != FALSE;
  }();
  (void)done;
}

int App::Run(HINSTANCE module, const char* commandLine) {
  module_ = module;
  commandLine_ = commandLine ? commandLine : "";

  char path[MAX_PATH] = "";
  GetModuleFileNameA(module, path, MAX_PATH);
  const char* base = std::strrchr(path, '\\');
  base = base ? base + 1 : path;
  lstrcpynA(name_, base, MAX_PATH);
  if (char* dot = std::strrchr(name_, '.')) *dot = '\0';

  InitCommonControlsOnce();
  // A main window that already ended (its host went during start-up) has nothing to run.
  if (InitInstance() && (!mainWindow_ || mainWindow_->Handle())) MessageLoop();
  EndMainWindow();
  return ExitInstance();
}

void App::MessageLoop() {
  looping_ = true;
  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    if (RouteDialogMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  looping_ = false;
  if (got == 0) loopExitCode_ = static_cast<int>(message.wParam);
}

void App::SetMainWindow(std::unique_ptr<Window> window) {
  EndMainWindow();
  mainWindow_ = std::move(window);
}

void App::EndMainWindow() {
  if (!mainWindow_) return;
  mainWindow_->Destroy();  // the tear-down runs on the whole object
  mainWindow_.reset();
}

void App::WindowGone(Window* window) {
  if (window == mainWindow_.get() && looping_) PostQuitMessage(0);
}

int App::ExitInstance() { return loopExitCode_; }

int ShowMessage(HWND owner, const char* text, UINT flags) {
  const App* app = App::Instance();
  return MessageBoxA(owner, text, app ? app->Name() : "", flags);
}

}  // namespace fw
