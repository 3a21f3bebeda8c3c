#include "shell/win32_scene_host.h"

#include "framework/app.h"
#include "resources/resource_pak.h"

bool Win32SceneHost::OpenArchive(ResourcePak& pak) { return pak.Open(); }

void Win32SceneHost::ShowMessage(const char* text, MessageIcon icon) {
  fw::ShowMessage(owner_, text, MB_OK | (icon == MessageIcon::Stop ? MB_ICONSTOP : 0u));
}

void Win32SceneHost::RequestQuit() { PostQuitMessage(0); }

uint32_t Win32SceneHost::TickCount() { return GetTickCount(); }
