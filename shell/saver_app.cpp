#include "shell/saver_app.h"

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "installer/user_steps.h"
#include "settings/settings_dialog.h"
#include "settings/settings_page.h"
#include "settings/user_registration.h"
#include "shell/gl_window.h"
#include "shell/preview_window.h"
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
  // A step the installer asks of the signed-in user's program comes first: the user's
  // unregistration must not be preceded by a registration.
  if (const std::optional<user_steps::Step> step = user_steps::StepOf(CommandLineText())) {
    user_steps::Run(*step);
    return false;
  }
  // Every mode reads the registration, so it is completed before any of them starts.
  user_registration::RegisterInstalledProgramForUser();
  const ::CommandLine commandLine = ParseCommandLine(CommandLineText(), ArgumentVector());
  switch (commandLine.mode) {
    case RunMode::FullScreen:
      return StartFullScreen();
    case RunMode::Preview:
      return StartPreview(reinterpret_cast<HWND>(static_cast<uintptr_t>(commandLine.hostWindow)));
    case RunMode::EmbeddedPage:
      return StartEmbeddedPage(reinterpret_cast<HWND>(static_cast<uintptr_t>(commandLine.hostWindow)));
    case RunMode::Settings: {
      CSettingsDlg dialog(CSettingsDlg::kOwnPage);
      dialog.DoModal(nullptr);
      return false;  // the program ends with the dialog
    }
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

bool SaverApp::StartPreview(HWND host) {
  if (!host || !IsWindow(host)) return false;
  std::unique_ptr<PreviewWindow> preview(new (std::nothrow) PreviewWindow());
  if (!preview) {
    fw::ShowMessage(nullptr, "Error allocating memory for preview window.", MB_OK);
    return false;
  }
  if (!preview->Create(host)) return false;
  // The run lasts until the host destroys the picture.
  SetMainWindow(std::move(preview));
  return true;
}

bool SaverApp::StartEmbeddedPage(HWND host) {
  if (!host || !IsWindow(host)) return false;
  auto page = std::make_unique<CSettingsPage>();
  RECT client;
  if (!GetClientRect(host, &client) || !page->Create(client, host)) return false;
  ShowWindow(page->Handle(), SW_SHOWNA);
  // The run lasts until the host closes the page, which saves it.
  SetMainWindow(std::move(page));
  return true;
}

int SaverApp::ExitInstance() {
  const std::string atomName = InstanceAtomName();
  if (ATOM atom = GlobalFindAtomA(atomName.c_str())) GlobalDeleteAtom(atom);
  return fw::App::ExitInstance();
}
