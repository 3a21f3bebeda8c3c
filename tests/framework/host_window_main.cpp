// A window of another process for the tests: a plain top-level window made with the
// framework, so it carries the same window property a sibling program would. It ends when
// its window is closed.
#include <windows.h>

#include <memory>

#include "framework/app.h"
#include "framework/window.h"

namespace {

class HostApp : public fw::App {
 protected:
  bool InitInstance() override {
    auto window = std::make_unique<fw::Window>();
    const RECT rect{40, 40, 440, 340};
    if (!window->CreateEx(0, nullptr, "Tellaro test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect, nullptr, 0))
      return false;
    SetMainWindow(std::move(window));
    return true;
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR commandLine, int) {
  HostApp app;
  return app.Run(module, commandLine);
}
