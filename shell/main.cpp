// The screensaver program's entry: one application object runs the chosen mode.
#include <windows.h>

#include "shell/saver_app.h"

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR commandLine, int) {
  SaverApp app;
  return app.Run(module, commandLine);
}
