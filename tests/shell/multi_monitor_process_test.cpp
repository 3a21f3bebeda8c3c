// A full-screen run on a display with two monitors, seen from outside: the black window
// over the second monitor, below the run's window, and input on it ending the run; and
// the black windows' class and lifetime seen from inside, which Wine does not show to
// other processes. Started by multi_monitor_test.sh on a two-monitor display of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "shell/monitor_blackout.h"
#include "tests/support/win_process.h"

namespace {

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

BOOL CALLBACK AddBlackWindow(HWND hwnd, LPARAM data) {
  ProcessWindows* windows = reinterpret_cast<ProcessWindows*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char className[64] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (owner == windows->processId && IsWindowVisible(hwnd) && lstrcmpA(className, "TellaroBlackout") == 0)
    windows->black.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> BlackWindows(const ChildProcess& saver) {
  ProcessWindows windows{saver.Id(), {}};
  EnumWindows(&AddBlackWindow, reinterpret_cast<LPARAM>(&windows));
  return windows.black;
}

// True when `upper` comes before `lower` in the z-order.
bool Above(HWND upper, HWND lower) {
  for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT))
    if (next == lower) return true;
  return false;
}

bool StillRunning(ChildProcess& saver, DWORD milliseconds) { return !saver.WaitForExit(milliseconds); }

TEST(MultiMonitorProcessTest, SecondMonitorIsBlackAndItsInputEndsTheRun) {
  Monitors monitors;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  ASSERT_EQ(monitors.others.size(), 1u) << "the display was meant to have two monitors";
  const RECT second = monitors.others[0];

  // Each way of ending the run, in a run of its own.
  for (const UINT input : {UINT{WM_MOUSEMOVE}, UINT{WM_KEYDOWN}, UINT{WM_RBUTTONDOWN}}) {
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(Saver(), "/s"));
    HWND run = saver.WaitForWindow(20000, monitors.primary.right - monitors.primary.left,
                                   monitors.primary.bottom - monitors.primary.top);
    ASSERT_NE(run, nullptr) << "no full-screen window";
    RECT runRect;
    GetWindowRect(run, &runRect);
    EXPECT_TRUE(EqualRect(&runRect, &monitors.primary)) << "the planet stays on the primary monitor";

    const std::vector<HWND> black = BlackWindows(saver);
    ASSERT_EQ(black.size(), 1u) << "input " << input;
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
      PostMessageA(black[0], input, input == WM_KEYDOWN ? VK_SPACE : MK_RBUTTON, input == WM_KEYDOWN ? 1 : 0);
    }
    DWORD code = 0;
    EXPECT_TRUE(saver.WaitForExit(15000, &code)) << "input " << input << " on the black window did not end the run";
  }
}

TEST(MultiMonitorProcessTest, BlackWindowsArePaintedBlackAndGoWithTheBlackout) {
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

}  // namespace
