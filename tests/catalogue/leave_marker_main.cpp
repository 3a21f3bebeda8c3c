// Stands for a program that a catalogue might name as its download: when started, it leaves
// "<its own path>.ran" holding its command line, so a test sees whether anything started it.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char path[MAX_PATH + 8] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::strcat(path, ".ran");
  if (std::FILE* marker = std::fopen(path, "wb")) {
    std::fputs(commandLine, marker);
    std::fclose(marker);
  }
  return 0;
}
