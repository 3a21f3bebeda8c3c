// randomizer.exe: started by the screensaver host in this screensaver's place. It has no
// window; everything after the program name on its command line is handed on unchanged.
#include <windows.h>

#include "launcher/randomizer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const auto run = launcher::RunRandomizer(commandLine ? commandLine : "");
  // Only a missing program is the user's to repair; any other failure ends quietly.
  if (run || run.code() != rotation::StartError::ProgramMissing) return 0;
  MessageBoxA(nullptr, launcher::InstallErrorText().c_str(), launcher::kErrorCaption, MB_OK);
  return -1;
}
