#pragma once
// The screensaver's application object: reads the command line once and enters exactly
// one run mode. The exit hook always removes the single-instance atom.
#include "framework/app.h"
#include "shell/command_line.h"

class SaverApp : public fw::App {
 protected:
  bool InitInstance() override;
  int ExitInstance() override;

 private:
  bool StartFullScreen();
  bool StartPreview(HWND host);
  bool StartEmbeddedPage(HWND host);
};
