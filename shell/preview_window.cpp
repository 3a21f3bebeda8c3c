#include "shell/preview_window.h"

#include "settings/settings_ids.h"

bool PreviewWindow::Create(HWND host) {
  if (!host || !IsWindow(host)) return false;
  RECT client;
  if (!GetClientRect(host, &client)) return false;
  return CreateEx(0, nullptr, "Preview", WS_CHILD | WS_VISIBLE, client, host, 0);
}

LRESULT PreviewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (Default(message, wParam, lParam) == -1) return -1;
      return picture_.Load(MAKEINTRESOURCEA(IDB_PREVIEW), true) ? 0 : -1;
    case WM_ERASEBKGND:
      return 1;  // the picture covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      RECT client;
      GetClientRect(hwnd_, &client);
      picture_.Draw(dc, client, RECT{0, 0, picture_.Width(), picture_.Height()});
      EndPaint(hwnd_, &paint);
      return 0;
    }
    default:
      return Default(message, wParam, lParam);
  }
}
