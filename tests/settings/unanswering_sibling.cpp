// Stands for a foreign sibling program that stops answering: started with "-1:<hex>" as a
// sibling's settings page is, it places a window inside the host's page and then never looks
// at its messages again (for two minutes, so that a failed test leaves nothing for long).
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  unsigned long long handle = 0;
  if (std::sscanf(commandLine, "-1:%llx", &handle) != 1) return 1;
  HWND host = reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle));
  RECT client;
  if (!GetClientRect(host, &client)) return 1;
  if (!CreateWindowExA(0, "STATIC", "not answering", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, host,
                       nullptr, instance, nullptr))
    return 1;
  Sleep(120000);
  return 0;
}
