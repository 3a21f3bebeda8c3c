#include "shell/saver_app.h"

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "shell/gl_window.h"
#include "shell/resource_ids.h"

namespace {

std::string InstanceAtomName() {
  char name[256] = "";
  LoadStringA(GetModuleHandleA(nullptr), IDS_INSTANCE_ATOM, name, sizeof name);
  return name;
}

std::vector<std::string> ArgumentVector() {
  std::vector<std::string> arguments;
  for (int i = 0; i < __argc; ++i) arguments.emplace_back(__argv[i] ? __argv[i] : "");
  return arguments;
}

}  // namespace

bool SaverApp::InitInstance() {
  const ::CommandLine commandLine = ParseCommandLine(CommandLineText(), ArgumentVector());
  switch (commandLine.mode) {
    case RunMode::FullScreen:
      return StartFullScreen();
    case RunMode::Settings:        // the settings dialog is not part of this program yet
    case RunMode::Preview:         // nor the preview picture
    case RunMode::EmbeddedPage:    // nor the embedded settings page
    case RunMode::PasswordChange:  // nothing to do
    case RunMode::None:
      return false;
  }
  return false;
}

bool SaverApp::StartFullScreen() {
  const std::string atomName = InstanceAtomName();
  // A run is already in progress: end silently (the exit hook removes its atom).
  if (GlobalFindAtomA(atomName.c_str()) != 0) return false;
  GlobalAddAtomA(atomName.c_str());

  std::unique_ptr<CGLWindow> window(new (std::nothrow) CGLWindow());
  if (!window) {
    fw::ShowMessage(nullptr, "Error memory allocating for CGLWindow.", MB_OK);
    return false;
  }
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!window->Create(screen, nullptr)) {
    fw::ShowMessage(nullptr,
                    "Can't create main screen saver window.\nPlease Try to turn off \"Use DirectX mode\" option in "
                    "screensaver settings dialog.",
                    MB_OK);
    return false;
  }
  // The run lasts as long as this window.
  SetMainWindow(std::move(window));
  return true;
}

int SaverApp::ExitInstance() {
  const std::string atomName = InstanceAtomName();
  if (ATOM atom = GlobalFindAtomA(atomName.c_str())) GlobalDeleteAtom(atom);
  return fw::App::ExitInstance();
}
