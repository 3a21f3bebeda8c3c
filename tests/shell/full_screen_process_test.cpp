// The screensaver program as the system starts it: separate processes under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/screen_capture.h"
#include "tests/support/wait_until.h"
#include "tests/support/win_process.h"

namespace {

const char kAtomName[] = "TELLARO ScreenSaver";

std::string Saver() { return WindowsPath(TELLARO_SCR_PATH); }

bool AtomExists() { return GlobalFindAtomA(kAtomName) != 0; }

// The full-screen window, not the loading notice shown while the scene loads.
HWND WaitForFullScreenWindow(const ChildProcess& saver) {
  return saver.WaitForWindow(20000, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

class FullScreenProcessTest : public testing::Test {
 protected:
  void SetUp() override {
    while (ATOM atom = GlobalFindAtomA(kAtomName)) GlobalDeleteAtom(atom);
  }
  void TearDown() override {
    while (ATOM atom = GlobalFindAtomA(kAtomName)) GlobalDeleteAtom(atom);
  }
};

TEST_F(FullScreenProcessTest, RunHoldsTheAtomRefusesASecondAndEndsOnAKey) {
  ChildProcess first;
  ASSERT_TRUE(first.Start(Saver(), "/s"));
  HWND window = WaitForFullScreenWindow(first);
  ASSERT_NE(window, nullptr) << "no full-screen window";
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(AtomExists());

  // A second run ends at once and takes the atom with it, so a third starts again.
  ChildProcess second;
  ASSERT_TRUE(second.Start(Saver(), "/S"));
  DWORD code = 0;
  EXPECT_TRUE(second.WaitForExit(10000, &code));
  EXPECT_FALSE(AtomExists());
  EXPECT_EQ(WaitForSingleObject(OpenProcess(SYNCHRONIZE, FALSE, first.Id()), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the first run goes on";

  ChildProcess third;
  ASSERT_TRUE(third.Start(Saver(), "  /sp  "));
  HWND thirdWindow = WaitForFullScreenWindow(third);
  ASSERT_NE(thirdWindow, nullptr) << "a third run starts after the atom was removed";
  EXPECT_TRUE(AtomExists());

  // A key press ends each run; the process exits and the atom is gone.
  PostMessageA(thirdWindow, WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(third.WaitForExit(15000, &code));
  EXPECT_FALSE(AtomExists());
  PostMessageA(window, WM_KEYDOWN, 'Q', 1);
  EXPECT_TRUE(first.WaitForExit(15000, &code));
  EXPECT_FALSE(AtomExists());
}

TEST_F(FullScreenProcessTest, OtherModesEndAtOnceWithoutAWindow) {
  // The number of a window that no longer exists.
  HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  const std::string goneHandle = "/p " + std::to_string(reinterpret_cast<uintptr_t>(gone));
  for (const char* arguments : {"/a", "/x", "s", "/p", "/p 0", "/p -1", "/p 99999999999999999999", goneHandle.c_str(),
                                "-1:00A3F2"}) {
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(Saver(), arguments));
    DWORD code = 0;
    EXPECT_TRUE(saver.WaitForExit(10000, &code)) << "arguments \"" << arguments << "\"";
    EXPECT_FALSE(AtomExists()) << "arguments \"" << arguments << "\"";
  }
}

// Every spelling of the settings mode opens the dialog without an owner; the program ends
// with it, and its exit removes an atom an earlier run left behind.
TEST_F(FullScreenProcessTest, SettingsSpellingsOpenTheDialogAndTheExitRemovesALeftAtom) {
  // An installation folder, or the dialog would first say that it has none.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Kestrune\\Halcyonix\\Tellaro", "InstallPath", REG_SZ, temp,
                  static_cast<DWORD>(lstrlenA(temp) + 1));
  for (const char* arguments : {"/c", "", "-C", "/c:4711"}) {
    GlobalAddAtomA(kAtomName);
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(Saver(), arguments));
    HWND dialog = saver.WaitForWindow(20000, 300, 200);
    ASSERT_NE(dialog, nullptr) << "arguments \"" << arguments << "\"";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(saver.WaitForExit(15000)) << "arguments \"" << arguments << "\"";
    EXPECT_FALSE(AtomExists());
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kestrune\\Halcyonix");
}

// The display goes to sleep and wakes up again, as the system tells the run's window: the
// frames stop, and go on; the run itself goes on.
TEST_F(FullScreenProcessTest, RunRestsWhileTheDisplaySleeps) {
  ChildProcess run;
  ASSERT_TRUE(run.Start(Saver(), "/s"));
  HWND window = WaitForFullScreenWindow(run);
  ASSERT_NE(window, nullptr) << "no full-screen window";

  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const auto picture = [&] { return CaptureUnobscured(window, screen).pixels; };
  // Two looks a little apart differ while frames are drawn, and stay alike while they are not.
  const auto framesRun = [&] {
    const std::vector<uint32_t> before = picture();
    Sleep(300);
    return !before.empty() && picture() != before;
  };
  EXPECT_TRUE(WaitUntil(framesRun)) << "the run draws no frames";
  PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
  EXPECT_TRUE(WaitUntil([&] { return !framesRun(); })) << "frames went on with the display asleep";
  EXPECT_FALSE(framesRun()) << "frames came back while the display slept";
  PostMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, static_cast<LPARAM>(-1));
  EXPECT_TRUE(WaitUntil(framesRun)) << "frames did not come back with the display";
  EXPECT_FALSE(run.WaitForExit(0)) << "the display's sleep ended the run";

  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(run.WaitForExit(15000));
}

}  // namespace
