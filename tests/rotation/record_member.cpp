// A stand-in collection member for the tests. Copies of it are installed under different
// names; each copy writes the whole command line it was given to <self>.cmdline, then stays
// running while <self>.hold exists (30 s at most) and leaves <self>.ended as it ends, so a
// test can tell whether its starter waited for it.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = {};
  if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return 1;
  const std::string base = self;
  // Written beside the final name and moved over it, so a reader never sees half a record.
  if (std::FILE* file = std::fopen((base + ".partial").c_str(), "wb")) {
    std::fputs(GetCommandLineA(), file);
    std::fclose(file);
    MoveFileExA((base + ".partial").c_str(), (base + ".cmdline").c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  for (int i = 0; i < 1500 && GetFileAttributesA((base + ".hold").c_str()) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  // The last thing before the end: a starter that waited for this program finds it.
  std::fclose(std::fopen((base + ".ended").c_str(), "wb"));
  return 0;
}
