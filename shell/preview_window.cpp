#include "shell/preview_window.h"

#include "framework/app.h"
#include "settings/settings_ids.h"

namespace {

// The picture's failures that the user is told of, as plain application message boxes;
// the others (its pixels unreadable, no memory) end the preview without a word.
void ShowPictureFailure(PictureError failure) {
  switch (failure) {
    case PictureError::NotLoadable:
      fw::ShowMessage(nullptr, "can't load image from file", MB_OK);
      break;
    case PictureError::UnsupportedDepth:
      fw::ShowMessage(nullptr, "Only 8-bit & 24-bit images supported!", MB_OK);
      break;
    case PictureError::None:
    case PictureError::Unreadable:
      break;
  }
}

}  // namespace

bool PreviewWindow::Create(HWND host) {
  if (!host || !IsWindow(host)) return false;
  RECT client;
  if (!GetClientRect(host, &client)) return false;
  return CreateEx(0, nullptr, "Preview", WS_CHILD | WS_VISIBLE, client, host, 0);
}

LRESULT PreviewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      if (Default(message, wParam, lParam) == -1) return -1;
      const PictureResult loaded = picture_.Load(MAKEINTRESOURCEA(IDB_PREVIEW), true);
      ShowPictureFailure(loaded.code());
      return loaded ? 0 : -1;
    }
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
