#include "shell/display_mode_switch.h"

#include <windows.h>

#include "shell/video_mode.h"

DisplayModeSwitch::Outcome DisplayModeSwitch::Enter(const Settings& settings) {
  HDC screen = GetDC(nullptr);
  const VideoMode desktop{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                          GetDeviceCaps(screen, BITSPIXEL)};
  ReleaseDC(nullptr, screen);

  if (IsDesktopMode(settings, desktop)) return Outcome::AlreadyDesktop;
  const std::optional<VideoMode> wanted = ChooseDisplayMode(settings, desktop);
  if (!wanted) return Outcome::DesktopWanted;

  DEVMODEA mode{};
  mode.dmSize = 148;  // the classic DEVMODE without the later display fields
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  mode.dmPelsWidth = static_cast<DWORD>(wanted->width);
  mode.dmPelsHeight = static_cast<DWORD>(wanted->height);
  mode.dmBitsPerPel = static_cast<DWORD>(wanted->bitsPerPixel);
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL ? Outcome::Switched
                                                                               : Outcome::Refused;
}

void DisplayModeSwitch::Leave() { ChangeDisplaySettingsA(nullptr, 0); }
