#include "shell/win32_run_host.h"

#include "framework/app.h"
#include "resources/resource_pak.h"

bool Win32RunHost::OpenArchive(ResourcePak& pak) { return pak.Open(); }

uint32_t Win32RunHost::TickCount() { return GetTickCount(); }

void Win32RunHost::ShowMessage(const char* text, MessageIcon icon) {
  fw::ShowMessage(owner_, text, MB_OK | (icon == MessageIcon::Stop ? MB_ICONSTOP : 0u));
}

void Win32RunHost::RequestQuit() { PostQuitMessage(0); }

double Win32RunHost::FrameSeconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
