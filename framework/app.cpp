#include "framework/app.h"

#include <cstring>

namespace fw {

App* App::instance_ = nullptr;

App::App() { instance_ = this; }

App::~App() {
  if (instance_ == this) instance_ = nullptr;
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

  if (InitInstance()) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (message.message == WM_QUIT) loopExitCode_ = static_cast<int>(message.wParam);
  }
  return ExitInstance();
}

int App::ExitInstance() { return loopExitCode_; }

int ShowMessage(HWND owner, const char* text, UINT flags) {
  const App* app = App::Instance();
  return MessageBoxA(owner, text, app ? app->Name() : "", flags);
}

}  // namespace fw
