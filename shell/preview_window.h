#pragma once
// The still picture inside the system's preview monitor: a child of the host window over
// its whole client area, showing bitmap 145 stretched to fit, until the host destroys it.
#include <windows.h>

#include "framework/window.h"
#include "shell/dib_picture.h"

class PreviewWindow : public fw::Window {
 public:
  // False when the host is no window or the picture cannot be loaded; the picture's own
  // failures are told in a message box first.
  bool Create(HWND host);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  DibPicture picture_;
};
