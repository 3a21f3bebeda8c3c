// A stand-in collection member for the tests. Copies of it are installed under different
// names; each copy records, next to itself, how it was started:
//   <self>.pid      its process id (written first, so a test can end it),
//   <self>.cmdline  the whole command line it was given,
//   <self>.done     written just before it exits.
// If <self>.sleep holds a number of milliseconds, it sleeps that long between the
// command line and the done mark, so a test can tell whether its starter waited.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Written beside the final name and moved over it, so a reader never sees half a record.
void WriteRecord(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (!file) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

unsigned long SleepMilliseconds(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return 0;
  char text[32] = {};
  std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  return std::strtoul(text, nullptr, 10);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = {};
  if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) return 1;
  const std::string base = self;
  WriteRecord(base + ".pid", std::to_string(GetCurrentProcessId()));
  WriteRecord(base + ".cmdline", GetCommandLineA());
  if (unsigned long ms = SleepMilliseconds(base + ".sleep")) Sleep(ms);
  WriteRecord(base + ".done", "");
  return 0;
}
