// The full-screen run under Wine, measured. Prints figures; asserts nothing.
//
//   tellaro_run_bench startup <tellaro.scr> [runs]
//     Starts "<tellaro.scr> /s" as its own process, `runs` times, and reports the time from
//     just before the process is created to the first frame on the screen, and the peak
//     memory of the run (working set and committed private bytes) after a few seconds of
//     frames. The first frame is recognised on the screen itself: the orbit tour from the
//     fixed start (set in the registry for the run) shows the lit planet where the desktop,
//     the loading notice and the black window before the first frame show none.
//   tellaro_run_bench frames [seconds]
//     Runs the real full-screen window (CGLWindow, the program's archive and host) in this
//     process through its own frame timer for the given time and reports frames per second
//     and the milliseconds of every timer message that drew a frame (DrawFrame and the
//     swap), min/median/max.
//   tellaro_run_bench frames <seconds> <monitors>
//     The same with the "Monitors" setting given (0: the main monitor, 1: every monitor), and
//     the peak memory of this process (the run's, with nothing else loaded) after it.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "settings/registry_names.h"
#include "shell/gl_window.h"

namespace {

const std::string kProductKey = std::string(registry_names::kCollectionKey) + "\\" + registry_names::kProductKey;

double Seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void SetDword(const char* name, DWORD value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kProductKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  RegCloseKey(key);
}

// The orbit tour from its fixed start, in the desktop's mode: the same first frame every run.
void FixTheRun() {
  SetDword("RandomCameraStart", 0);
  SetDword("CamMode", 2);
  SetDword("CurrentVideomode", 1);
  SetDword("AnimationSpeed", 50);
}

struct Summary {
  double min, median, max;
};
Summary Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  if (values.empty()) return {0, 0, 0};
  return {values.front(), values[values.size() / 2], values.back()};
}

// Mean colour of a 9 x 9 block of the screen around (x, y).
void ScreenBlock(int x, int y, int* r, int* g, int* b) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 9;
  info.bmiHeader.biHeight = 9;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, 9, 9, screen, x - 4, y - 4, SRCCOPY);
  GdiFlush();
  const uint8_t* p = static_cast<const uint8_t*>(bits);
  int sums[3] = {0, 0, 0};
  for (int i = 0; i < 81; ++i) {
    sums[0] += p[i * 4 + 2];
    sums[1] += p[i * 4 + 1];
    sums[2] += p[i * 4];
  }
  *r = sums[0] / 81;
  *g = sums[1] / 81;
  *b = sums[2] / 81;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// The lit planet of the first orbit frame covers these two points of the screen with its
// brownish-red ground; the desktop, the loading notice and the black window before the
// first frame show nothing of the kind there.
bool FirstFrameShown() {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const int points[2][2] = {{width * 454 / 1024, height * 404 / 768}, {width * 564 / 1024, height * 284 / 768}};
  for (const auto& point : points) {
    int r, g, b;
    ScreenBlock(point[0], point[1], &r, &g, &b);
    if (!(r > 90 && r > b + 35 && g > b)) return false;
  }
  return true;
}

struct FindWindowOf {
  DWORD process;
  HWND found;
};
BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<FindWindowOf*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  RECT rect;
  if (owner == search->process && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
      rect.right - rect.left == GetSystemMetrics(SM_CXSCREEN)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

int Startup(const char* saver, int runs) {
  FixTheRun();
  std::vector<double> firstFrame, workingSet, privateBytes;
  for (int run = 0; run < runs; ++run) {
    if (FirstFrameShown()) {
      std::fprintf(stderr, "the screen already shows the planet; cannot time the first frame\n");
      return 1;
    }
    std::string commandLine = std::string("\"") + saver + "\" /s";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = Seconds();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      std::fprintf(stderr, "cannot start %s\n", saver);
      return 1;
    }
    double shown = -1.0;
    while (Seconds() - start < 30.0) {
      if (FirstFrameShown()) {
        shown = Seconds() - start;
        break;
      }
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
      Sleep(5);  // each look at the screen is a round trip to the display: keep them few
    }
    // A few seconds of frames, then the peak figures of the whole run so far.
    Sleep(3000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    FindWindowOf search{process.dwProcessId, nullptr};
    EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
    if (search.found) PostMessageA(search.found, WM_KEYDOWN, VK_SPACE, 1);
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (shown < 0) {
      std::fprintf(stderr, "run %d: no first frame seen\n", run + 1);
      return 1;
    }
    firstFrame.push_back(shown * 1000.0);
    workingSet.push_back(static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
    privateBytes.push_back(static_cast<double>(memory.PeakPagefileUsage) / (1024.0 * 1024.0));
    std::printf("run %d: first frame %.0f ms, peak working set %.1f MiB, peak private %.1f MiB\n", run + 1,
                shown * 1000.0, workingSet.back(), privateBytes.back());
    std::fflush(stdout);
    Sleep(1500);  // the desktop repaints after the run
  }
  const Summary t = Summarise(firstFrame), w = Summarise(workingSet), p = Summarise(privateBytes);
  std::printf("process start to first frame: min %.0f ms, median %.0f ms, max %.0f ms (%d runs)\n", t.min, t.median,
              t.max, runs);
  std::printf("peak working set: min %.1f MiB, median %.1f MiB, max %.1f MiB\n", w.min, w.median, w.max);
  std::printf("peak private bytes: min %.1f MiB, median %.1f MiB, max %.1f MiB\n", p.min, p.median, p.max);
  return 0;
}

int Frames(double seconds, int monitors) {
  FixTheRun();
  SetDword("Monitors", static_cast<DWORD>(monitors));
  auto window = std::make_unique<CGLWindow>();  // the program's own host and archive
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const double creating = Seconds();
  if (!window->Create(screen, nullptr)) {
    std::fprintf(stderr, "cannot create the window\n");
    return 1;
  }
  HWND hwnd = window->Handle();
  std::printf("window creation with InitScene: %.0f ms\n", (Seconds() - creating) * 1000.0);
  std::vector<double> frameMs;
  const double start = Seconds();
  const int framesBefore = window->frameCounter();
  MSG message;
  while (Seconds() - start < seconds && IsWindow(hwnd)) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    // Input from the virtual display must not end the measured run.
    if (message.message == WM_CLOSE || message.message == WM_MOUSEMOVE) continue;
    const bool frame = message.message == WM_TIMER && message.hwnd == hwnd;
    const double before = Seconds();
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (frame) frameMs.push_back((Seconds() - before) * 1000.0);
  }
  const double elapsed = Seconds() - start;
  const int frames = IsWindow(hwnd) ? window->frameCounter() - framesBefore : 0;
  RECT client;
  GetClientRect(hwnd, &client);
  window->Destroy();
  const Summary s = Summarise(frameMs);
  std::printf("full-screen window %ldx%ld: %d frames in %.1f s = %.1f frames per second\n", client.right,
              client.bottom, frames, elapsed, frames / elapsed);
  std::printf("timer message with DrawFrame and swap: min %.2f ms, median %.2f ms, max %.2f ms (%zu frames)\n", s.min,
              s.median, s.max, frameMs.size());
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("monitors %d: peak working set %.1f MiB, peak private %.1f MiB\n", monitors,
              static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0),
              static_cast<double>(memory.PeakPagefileUsage) / (1024.0 * 1024.0));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup" && argc > 2) return Startup(argv[2], argc > 3 ? std::max(1, std::atoi(argv[3])) : 5);
  if (mode == "frames") return Frames(argc > 2 ? std::atof(argv[2]) : 20.0, argc > 3 ? std::atoi(argv[3]) : 0);
  std::fprintf(stderr, "usage: tellaro_run_bench startup <tellaro.scr> [runs] | frames [seconds] [monitors]\n");
  return 2;
}
