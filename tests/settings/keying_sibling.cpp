// Stands for a sibling program that calls back while its page is being closed: started with
// "-1:<hex>" as a sibling's settings page is, it places a window inside the host's page, and
// when asked to close that window it first sends two Down keys to the dialog's product list,
// so that the dialog's thread meets them while it waits for this answer.
#include <windows.h>

#include <cstdio>

#include "settings/settings_ids.h"

namespace {

HWND host = nullptr;

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    HWND list = GetDlgItem(GetParent(host), IDC_PRODUCT_LIST);
    for (int i = 0; i < 2; ++i) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(list, WM_KEYDOWN, VK_DOWN, 1, SMTO_NORMAL, 5000, &ignored);
      SendMessageTimeoutA(list, WM_KEYUP, VK_DOWN, 0xC0000001, SMTO_NORMAL, 5000, &ignored);
    }
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  unsigned long long handle = 0;
  if (std::sscanf(commandLine, "-1:%llx", &handle) != 1) return 1;
  host = reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle));
  RECT client;
  if (!GetClientRect(host, &client)) return 1;
  WNDCLASSA type{};
  type.lpfnWndProc = PageProc;
  type.hInstance = instance;
  type.lpszClassName = "KeyingSiblingPage";
  if (!RegisterClassA(&type)) return 1;
  if (!CreateWindowExA(0, type.lpszClassName, "keying", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, host,
                       nullptr, instance, nullptr))
    return 1;
  // Ends with its page, or after two minutes, so that a failed test leaves nothing for long.
  SetTimer(nullptr, 0, 120000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER) break;
    DispatchMessageA(&message);
  }
  return 0;
}
