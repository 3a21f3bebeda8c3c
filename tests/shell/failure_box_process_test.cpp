// The full-screen run's failure messages, watched from outside as a user meets them: a copy
// of the program whose archive resource lacks a member (or is no archive at all) runs "/s";
// its box shows the message with the stop icon and an OK button, stays until OK is pressed,
// and the run then ends with code 0, taking the single-instance atom with it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/resource_ids.h"
#include "tests/support/program_copy.h"
#include "tests/support/screen_capture.h"
#include "tests/support/win_process.h"

namespace {

const char kAtomName[] = "TELLARO ScreenSaver";
constexpr WORD kArchiveResource = IDR_ARCHIVE;

std::vector<char> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A copy of the program with `archive` in place of its archive resource.
std::string ProgramWithArchive(const std::string& name, const std::vector<char>& archive) {
  return ProgramWithResource(WindowsPath(TELLARO_SCR_PATH), name, "RFILE", kArchiveResource, archive);
}

struct Box {
  HWND window = nullptr;
  std::string text;
  bool okOnly = false;
};

// The box's icon control, as the screen shows it: the stop icon is the red one (the other
// box icons are yellow or blue). Icon handles do not compare across processes.
BOOL CALLBACK FindStopIcon(HWND child, LPARAM lParam) {
  if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) return TRUE;
  RECT rect;
  GetWindowRect(child, &rect);
  const ScreenPixels icon = CaptureUnobscured(child, rect);
  if (icon.pixels.empty()) return TRUE;
  int red = 0;
  for (const uint32_t pixel : icon.pixels)
    if (ScreenPixels::Red(pixel) > 150 && ScreenPixels::Green(pixel) < 110 && ScreenPixels::Blue(pixel) < 110) ++red;
  const int width = icon.width, height = icon.height;
  *reinterpret_cast<bool*>(lParam) = red * 5 > width * height;
  return FALSE;
}

Box WaitForBox(const ChildProcess& process, DWORD milliseconds) {
  Box box;
  box.window = process.WaitForMessageBox(milliseconds);
  if (!box.window) return box;
  char text[512] = "";
  GetDlgItemTextA(box.window, 0xFFFF, text, sizeof text);
  box.text = text;
  box.okOnly = GetDlgItem(box.window, IDOK) && !GetDlgItem(box.window, IDCANCEL);
  return box;
}

TEST(FailureBoxProcessTest, EachLoadingFailureStaysUntilOkThenTheRunEnds) {
  struct Case {
    const char* name;
    std::vector<char> archive;
    const char* message;
  };
  const std::string notAnArchive = "no archive here";
  const Case cases[] = {
      {"archive", std::vector<char>(notAnArchive.begin(), notAnArchive.end()), "Can't open resource data file."},
      {"picture", ReadFile(TELLARO_ARCHIVE_WITHOUT_FLARE7), "Can't load pTexture."},
      {"shape", ReadFile(TELLARO_ARCHIVE_WITHOUT_SHAPE), "Can't load 3D shape."},
      {"stars", ReadFile(TELLARO_ARCHIVE_WITHOUT_STARS), "Can't open stars data file."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    while (ATOM atom = GlobalFindAtomA(kAtomName)) GlobalDeleteAtom(atom);
    ASSERT_GT(c.archive.size(), 0u);
    const std::string program = ProgramWithArchive(std::string("tellaro-without-") + c.name, c.archive);
    ASSERT_FALSE(program.empty()) << "cannot replace the archive resource, error " << GetLastError();

    ChildProcess run;
    ASSERT_TRUE(run.Start(program, "/s"));
    const Box box = WaitForBox(run, 20000);
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.text, c.message);
    EXPECT_TRUE(box.okOnly);

    // Nobody has pressed OK yet: the box and the run are still there, the icon painted.
    EXPECT_FALSE(run.WaitForExit(3000)) << "the run ended under the user's eyes";
    EXPECT_TRUE(IsWindow(box.window) && IsWindowVisible(box.window)) << "the box vanished before OK";
    bool stopIcon = false;
    EnumChildWindows(box.window, &FindStopIcon, reinterpret_cast<LPARAM>(&stopIcon));
    EXPECT_TRUE(stopIcon);

    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    DWORD code = 1;
    EXPECT_TRUE(run.WaitForExit(15000, &code)) << "OK ends the run";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(GlobalFindAtomA(kAtomName), 0) << "the exit removed the atom";
    DeleteFileA(program.c_str());
  }
}

}  // namespace
