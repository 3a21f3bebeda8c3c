// The settings page and the preview picture as other programs host them: the program runs
// "-1:<hex>" or "/p <decimal>" against a window of a test host process, and everything is
// watched from outside, as the hosting dialog or the system's preview monitor would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "settings/settings_ids.h"
#include "tests/support/program_copy.h"
#include "tests/support/test_registry.h"
#include "tests/support/user_input.h"
#include "tests/support/wait_until.h"
#include "tests/support/win_process.h"

namespace {

void SetDword(const char* name, DWORD value) { ASSERT_TRUE(SetDwordValue(kTellaroKey, name, value)); }

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

class HostedPageTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    ASSERT_TRUE(host_.Start(WindowsPath(TELLARO_HOST_WINDOW_PATH), ""));
    hostWindow_ = host_.WaitForWindow(20000, 300, 200);
    ASSERT_NE(hostWindow_, nullptr);
    SetForegroundWindow(hostWindow_);
  }
  void TearDown() override {
    PostMessageA(hostWindow_, WM_CLOSE, 0, 0);
    host_.WaitForExit(10000);
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  }

  // The client area of the host in screen coordinates.
  RECT HostClient() const {
    RECT client;
    GetClientRect(hostWindow_, &client);
    MapWindowPoints(hostWindow_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
  }

  ChildProcess host_;
  HWND hostWindow_ = nullptr;
};

void ExpectSameRect(const RECT& a, const RECT& b) {
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.top, b.top);
  EXPECT_EQ(a.right, b.right);
  EXPECT_EQ(a.bottom, b.bottom);
}

TEST_F(HostedPageTest, EmbeddedPageShowsTheStoredValuesTabsAndSavesAllNineOnClose) {
  SetDword("AnimationSpeed", 80);
  SetDword("CamMode", 2);
  SetDword("DemoMode", 1);
  SetDword("RandomCameraStart", 0);
  SetDword("CurrentVideomode", 0);
  SetDword("XResolution", 800);
  SetDword("YResolution", 600);
  SetDword("ColorDepth", 32);

  char argument[32];
  std::snprintf(argument, sizeof argument, "-1:%lX",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hostWindow_)));
  ChildProcess saver;
  ASSERT_TRUE(saver.Start(WindowsPath(TELLARO_SCR_PATH), argument));
  HWND page = saver.WaitForChildOf(hostWindow_, 20000);
  ASSERT_NE(page, nullptr) << "no page inside the host";
  EXPECT_EQ(GetParent(page), hostWindow_);
  for (int i = 0; i < 50 && !IsWindowVisible(page); ++i) Sleep(100);
  EXPECT_TRUE(IsWindowVisible(page));
  RECT rect;
  GetWindowRect(page, &rect);
  ExpectSameRect(rect, HostClient());

  // The stored values, as the controls show them.
  HWND speed = GetDlgItem(page, IDC_ANIMATION_SPEED), camera = GetDlgItem(page, IDC_CAMERA);
  HWND modes = GetDlgItem(page, IDC_VIDEO_MODES), random = GetDlgItem(page, IDC_RANDOM_SEQUENCE);
  EXPECT_EQ(SendMessageA(speed, TBM_GETPOS, 0, 0), 80);
  EXPECT_EQ(SendMessageA(camera, CB_GETCURSEL, 0, 0), 2);
  // Item texts cross the process boundary in their wide form.
  wchar_t text[64] = L"";
  SendMessageW(camera, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Martian orbit");
  EXPECT_EQ(SendMessageA(modes, CB_GETCOUNT, 0, 0), 1) << "the stored mode alone until the list is opened";
  SendMessageW(modes, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"800x600 (32 bits)");
  EXPECT_TRUE(IsWindowEnabled(modes));
  EXPECT_EQ(SendMessageA(GetDlgItem(page, IDC_DEMO_MODE), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(random, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(GetDlgItem(page, IDC_DESKTOP_MODE), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // A click on "Random sequence" ticks it and takes the focus; Tab moves on to the next control.
  ClickOn(random);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(random, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(page) == random; }));
  PressKey(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(page) == GetDlgItem(page, IDC_DEMO_MODE); }))
      << "Tab moves between the page's controls";
  SendMessageA(speed, TBM_SETPOS, TRUE, 30);

  // The host closes the page: it saves, and its program ends.
  PostMessageA(page, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(saver.WaitForExit(15000, &code)) << "the program ends with its page";
  const struct {
    const char* name;
    DWORD value;
  } saved[] = {{"AnimationSpeed", 30}, {"CamMode", 2},       {"DemoMode", 1},
               {"RandomCameraStart", 1}, {"CurrentVideomode", 0}, {"XResolution", 800},
               {"YResolution", 600},   {"ColorDepth", 32},   {"NightSide", 1}};
  for (const auto& value : saved) {
    EXPECT_EQ(DwordValue(kTellaroKey, value.name), value.value) << value.name;
  }
}

TEST_F(HostedPageTest, PreviewCoversTheHostAndEndsWithIt) {
  char argument[32];
  std::snprintf(argument, sizeof argument, "/p %lu", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hostWindow_)));
  ChildProcess saver;
  ASSERT_TRUE(saver.Start(WindowsPath(TELLARO_SCR_PATH), argument));
  HWND preview = saver.WaitForChildOf(hostWindow_, 20000);
  ASSERT_NE(preview, nullptr);
  char title[32] = "";
  GetWindowTextA(preview, title, sizeof title);
  EXPECT_STREQ(title, "Preview");
  RECT rect;
  GetWindowRect(preview, &rect);
  ExpectSameRect(rect, HostClient());
  // (What it paints is checked in this process: under Wine a child of another process's
  // window does not reach the screen.)

  // The host goes, and the preview's program with it.
  PostMessageA(hostWindow_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(saver.WaitForExit(15000)) << "the preview ends with its host";
}

// A program whose bitmap 145 is no bitmap, or one of 32 bits a pixel: the preview says why in
// a plain OK box, and once that is answered the program ends and leaves the host empty.
TEST_F(HostedPageTest, PreviewOfABrokenPictureSaysWhyAndEnds) {
  BITMAPINFOHEADER header{sizeof header, 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<char> deep(reinterpret_cast<const char*>(&header), reinterpret_cast<const char*>(&header + 1));
  deep.resize(sizeof header + 4 * 4 * 4, '\x40');  // a bitmap resource: the header, then the pixels
  const std::string garbage = "no bitmap here";
  const struct {
    const char* name;
    std::vector<char> bitmap;
    const char* message;
  } cases[] = {{"unreadable", std::vector<char>(garbage.begin(), garbage.end()), "can't load image from file"},
               {"deep", deep, "Only 8-bit & 24-bit images supported!"}};
  const std::string argument = "/p " + std::to_string(reinterpret_cast<uintptr_t>(hostWindow_));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string program = ProgramWithResource(WindowsPath(TELLARO_SCR_PATH), std::string("tellaro-preview-") +
                                                    c.name, RT_BITMAP, IDB_PREVIEW, c.bitmap);
    ASSERT_FALSE(program.empty()) << "cannot change bitmap 145, error " << GetLastError();
    ChildProcess saver;
    ASSERT_TRUE(saver.Start(program, argument));
    HWND box = saver.WaitForMessageBox(20000);
    ASSERT_NE(box, nullptr) << "no message box";
    char text[128] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_STREQ(text, c.message);
    EXPECT_TRUE(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(saver.WaitForExit(15000)) << "the program ends once the box is answered";
    EXPECT_EQ(GetWindow(hostWindow_, GW_CHILD), nullptr) << "a preview stayed in the host";
    DeleteFileA(program.c_str());
  }
}

}  // namespace
