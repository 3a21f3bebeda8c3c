// A window of another program for the settings page and the preview picture to live in,
// for the tests and for a person trying them: a plain top-level window made with the
// framework, so it carries the same window property a sibling program would. It ends when
// its window is closed.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/app.h"
#include "framework/window.h"

namespace {

class HostApp : public fw::App {
 protected:
  bool InitInstance() override {
    auto window = std::make_unique<fw::Window>();
    const RECT rect{40, 40, 440, 340};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
    if (!window->CreateEx(0, nullptr, "Tellaro test host", style, rect, nullptr, 0)) return false;
    // The handle in the title, for a person who hosts a page by hand ("-1:<hex>", "/p <decimal>").
    char title[96];
    const auto handle = reinterpret_cast<uintptr_t>(window->Handle());
    const auto number = static_cast<unsigned long>(handle);
    wsprintfA(title, "Tellaro test host %lX %lu", number, number);
    SetWindowTextA(window->Handle(), title);
    // With a file name as argument the handle is also written there, for scripts.
    if (*CommandLineText()) {
      HANDLE file = CreateFileA(CommandLineText(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, title + 18, static_cast<DWORD>(lstrlenA(title + 18)), &written, nullptr);
        CloseHandle(file);
      }
    }
    SetMainWindow(std::move(window));
    return true;
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR commandLine, int) {
  HostApp app;
  return app.Run(module, commandLine);
}
