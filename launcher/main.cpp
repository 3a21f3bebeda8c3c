// randomizer.exe: started by the screensaver host in this screensaver's place. It has no
// window; everything after the program name on its command line is handed on unchanged.
#include <windows.h>

#include "launcher/randomizer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  return launcher::RunRandomizer(commandLine ? commandLine : "");
}
