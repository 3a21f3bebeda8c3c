// A full-screen run on a display with two monitors, seen from outside: the window over the
// second monitor (black, or with "Monitors" 1 the planet's), below the run's window, and
// input on it ending the run; and, in this process since Wine shows no other process's
// pixels, the black windows' class and lifetime and the planet drawn on both monitors.
// Started by multi_monitor_test.sh on a two-monitor display of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/registry_names.h"
#include "shell/gl_window.h"
#include "shell/monitor_blackout.h"
#include "shell/monitor_views.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_run_host.h"
#include "tests/support/test_registry.h"
#include "tests/support/wait_until.h"
#include "tests/support/win_process.h"

namespace {

// The run's settings, stored where the program reads them.
void SetDword(const char* name, DWORD value) { EXPECT_TRUE(SetDwordValue(kTellaroKey, name, value)) << name; }

std::string Saver() { return WindowsPath(TELLARO_SCR_PATH); }

struct Monitors {
  RECT primary{};
  std::vector<RECT> others;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  Monitors* monitors = reinterpret_cast<Monitors*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(monitor, &info);
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    monitors->primary = info.rcMonitor;
  else
    monitors->others.push_back(info.rcMonitor);
  return TRUE;
}

struct ProcessWindows {
  DWORD processId;
  std::vector<HWND> black;
};

struct ClassWindows {
  DWORD processId;
  const char* className;
  std::vector<HWND> found;
};

BOOL CALLBACK AddClassWindow(HWND hwnd, LPARAM data) {
  ClassWindows* windows = reinterpret_cast<ClassWindows*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char className[64] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (owner == windows->processId && IsWindowVisible(hwnd) && lstrcmpA(className, windows->className) == 0)
    windows->found.push_back(hwnd);
  return TRUE;
}

// The visible windows of one class that a process holds.
std::vector<HWND> WindowsOf(DWORD processId, const char* className) {
  ClassWindows windows{processId, className, {}};
  EnumWindows(&AddClassWindow, reinterpret_cast<LPARAM>(&windows));
  return windows.found;
}

// Pixels of a window brighter than the night sky's stars at their dimmest, read through its
// own device context as a viewer sees them after the swap.
int LitPixels(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  HDC windowDc = GetDC(window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memoryDc, bitmap);
  BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  int lit = 0;
  const auto* pixels = static_cast<const uint8_t*>(bits);
  for (size_t i = 0; bits && i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i)
    if (pixels[i * 4] + pixels[i * 4 + 1] + pixels[i * 4 + 2] > 90) ++lit;
  SelectObject(memoryDc, old);
  DeleteObject(bitmap);
  DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
  return lit;
}

// True when `upper` comes before `lower` in the z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
    if (next == lower) return true;
  return false;
}

bool StillRunning(ChildProcess& saver, DWORD milliseconds) { return !saver.WaitForExit(milliseconds); }

Monitors TheMonitors() {
  Monitors monitors;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

class MultiMonitorProcessTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey); }
};

// "Monitors" 0 and missing: black; 1: the planet's own window, which ends the run the same way.
TEST_F(MultiMonitorProcessTest, SecondMonitorsInputEndsTheRun) {
  const Monitors monitors = TheMonitors();
  ASSERT_EQ(monitors.others.size(), 1u) << "the display was meant to have two monitors";
  const RECT second = monitors.others[0];

  // Each way of ending the run, in a run of its own.
  struct Run {
    UINT input;
    DWORD everyMonitor;
  };
  for (const Run& run_case : {Run{WM_MOUSEMOVE, 0}, Run{WM_KEYDOWN, 0}, Run{WM_RBUTTONDOWN, 0}, Run{WM_KEYDOWN, 1},
                              Run{WM_LBUTTONDOWN, 1}}) {
    const UINT input = run_case.input;
    SetDword("Monitors", run_case.everyMonitor);
    const char* secondClass = run_case.everyMonitor ? MonitorViews::kClassName : MonitorBlackout::kClassName;
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(Saver(), "/s"));
    HWND run = saver.WaitForWindow(20000, monitors.primary.right - monitors.primary.left,
                                   monitors.primary.bottom - monitors.primary.top);
    ASSERT_NE(run, nullptr) << "no full-screen window";
    RECT runRect;
    GetWindowRect(run, &runRect);
    EXPECT_TRUE(EqualRect(&runRect, &monitors.primary)) << "the planet stays on the primary monitor";

    const std::vector<HWND> black = WindowsOf(saver.Id(), secondClass);
    ASSERT_EQ(black.size(), 1u) << "input " << input << ", Monitors " << run_case.everyMonitor;
    EXPECT_TRUE(WindowsOf(saver.Id(), run_case.everyMonitor ? MonitorBlackout::kClassName : MonitorViews::kClassName)
                    .empty());
    RECT blackRect;
    GetWindowRect(black[0], &blackRect);
    EXPECT_TRUE(EqualRect(&blackRect, &second)) << blackRect.left << "," << blackRect.top << " "
                                                 << blackRect.right << "," << blackRect.bottom;
    EXPECT_TRUE(GetWindowLongA(black[0], GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Where the monitors overlap, as these two do, the planet stays in front.
    EXPECT_TRUE(Above(run, black[0]));

    if (input == WM_MOUSEMOVE) {
      // The same rule as on the run's window: 10 pixels from the first position are
      // allowed, a longer move ends the run. The black window lies at the origin, so its
      // coordinates are the run window's too; the pointer's real position is the reference.
      POINT cursor;
      GetCursorPos(&cursor);
      PostMessageA(black[0], WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
      PostMessageA(black[0], WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x + 10, cursor.y - 10));
      EXPECT_TRUE(StillRunning(saver, 1500)) << "a move of 10 pixels ended the run";
      PostMessageA(black[0], WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x + 11, cursor.y));
    } else {
      PostMessageA(black[0], input, input == WM_KEYDOWN ? VK_SPACE : 0, input == WM_KEYDOWN ? 1 : 0);
    }
    DWORD code = 0;
    EXPECT_TRUE(saver.WaitForExit(15000, &code)) << "input " << input << " on the black window did not end the run";
  }
}

TEST_F(MultiMonitorProcessTest, BlackWindowsArePaintedBlackAndGoWithTheBlackout) {
  HWND run = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(run, nullptr);
  HWND black = nullptr;
  {
    MonitorBlackout blackout;
    blackout.Cover(run);
    ASSERT_EQ(blackout.Count(), 1u);
    black = FindWindowA(MonitorBlackout::kClassName, nullptr);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(black, GCLP_HBRBACKGROUND)), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(GetClassLongPtrA(black, GCLP_HCURSOR), 0) << "the run's window decides the cursor";
    blackout.Remove();
    EXPECT_FALSE(IsWindow(black));
    blackout.Cover(run);
    black = FindWindowA(MonitorBlackout::kClassName, nullptr);
    EXPECT_NE(black, nullptr);
  }
  EXPECT_FALSE(IsWindow(black)) << "the blackout's end takes its windows";
  DestroyWindow(run);
}

// The run's own window in this process, where its pixels can be read: with "Monitors" 1 the
// planet on both monitors, each window at its monitor's size, from the same start without
// "Random sequence"; a key on the second monitor ends the run and takes every window and the
// context with it.
TEST_F(MultiMonitorProcessTest, EveryMonitorShowsThePlanetAndAllGoesWithTheRun) {
  const Monitors monitors = TheMonitors();
  ASSERT_EQ(monitors.others.size(), 1u);
  SetDword("Monitors", 1);
  SetDword("RandomCameraStart", 0);
  SetDword("CamMode", 2);  // the orbit's fixed start shows the lit planet
  FakeRunHost host;
  host.scene.archive = scene_data::Zip(scene_data::DataMembers());
  auto window = std::make_unique<CGLWindow>(&host);
  ASSERT_TRUE(window->Create(monitors.primary, nullptr));
  HWND run = window->Handle();
  ASSERT_EQ(window->otherMonitorViews(), 1u);
  const std::vector<HWND> views = WindowsOf(GetCurrentProcessId(), MonitorViews::kClassName);
  ASSERT_EQ(views.size(), 1u);
  RECT viewRect;
  GetWindowRect(views[0], &viewRect);
  EXPECT_TRUE(EqualRect(&viewRect, &monitors.others[0])) << "the view covers its monitor exactly";

  // A few messages at a time: the zero-interval frame timer never leaves the queue empty.
  auto pump = [] {
    MSG message;
    for (int i = 0; i < 50 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  };
  EXPECT_TRUE(WaitUntil([&] { return pump(), window->frameCounter() >= 5; }, 30000)) << "no frames";
  // The orbit's start fills a good part of either monitor with the planet. This display's
  // monitors overlap, the main one in front: the second one's window is read once it has
  // drawn in front of the other (without activation, which would end the run).
  for (HWND shown : {run, views[0]}) {
    if (shown == views[0]) {
      SetWindowPos(shown, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      const int drawn = window->frameCounter();
      EXPECT_TRUE(WaitUntil([&] { return pump(), window->frameCounter() >= drawn + 3; }, 30000));
    }
    RECT client;
    GetClientRect(shown, &client);
    EXPECT_GT(LitPixels(shown), client.right * client.bottom / 20) << (shown == run ? "main" : "second") << " monitor";
  }
  EXPECT_TRUE(host.messages.empty()) << host.messages[0].text;

  PostMessageA(views[0], WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(WaitUntil([&] { return pump(), !IsWindow(run); })) << "a key on the second monitor did not end the run";
  EXPECT_FALSE(IsWindow(views[0])) << "the second monitor's window outlived the run";
  EXPECT_EQ(window->otherMonitorViews(), 0u);
  EXPECT_EQ(wglGetCurrentContext(), nullptr) << "the context outlived the run";
}

}  // namespace
