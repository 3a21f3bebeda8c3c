// Starting a collection member under Wine: the command line the member receives, the page
// argument the settings dialog passes, and the errors reported. Waiting is covered through
// the launcher's runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "rotation/member_command_line.h"
#include "rotation/member_start.h"
#include "tests/rotation/wine_support.h"

namespace {

using rotation::StartMember;
using namespace rotation_test;

class MemberStart : public ::testing::Test {
 protected:
  TempFolder folder;
  MemberProgram member{folder, "Sibling Saver.scr"};
};

TEST_F(MemberStart, PageReceivesItsWindowHandleInUpperCaseHex) {
  // A real window, as the dialog's page would be.
  HWND page = CreateWindowExA(0, "STATIC", "page", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(page, nullptr) << "cannot create a window, error " << GetLastError();
  const std::string argument = rotation::PageArgument(page);

  DWORD error = 0;
  ASSERT_TRUE(StartMember(member.Path(), argument, false, &error)) << "error " << error;
  std::optional<std::string> line = member.WaitForCommandLine(kExitTimeoutMs);
  DestroyWindow(page);
  ASSERT_TRUE(line.has_value()) << "the member never recorded its command line";

  const std::string prefix = "\"" + member.Path() + "\" -1:";
  ASSERT_EQ(line->substr(0, prefix.size()), prefix) << "whole command line: " << *line;
  const std::string hex = line->substr(prefix.size());
  ASSERT_FALSE(hex.empty());
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos) << "not upper-case hex: " << hex;
  EXPECT_TRUE(hex == "0" || hex[0] != '0') << "leading zero in " << hex;
  // The member reads the number back as "-1:%lx" and must find the page window.
  const auto handle = static_cast<std::uintptr_t>(std::strtoul(hex.c_str(), nullptr, 16));
  EXPECT_EQ(handle, reinterpret_cast<std::uintptr_t>(page) & 0xFFFFFFFFu) << "from " << hex;
}

TEST_F(MemberStart, MissingProgramReportsFileOrPathNotFound) {
  DWORD error = 0;
  EXPECT_FALSE(StartMember(folder.File("absent.scr"), "/s", false, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "missing file in an existing folder";

  EXPECT_FALSE(StartMember(folder.File("no such folder\\absent.scr"), "/s", false, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND)) << "missing folder";
}

TEST_F(MemberStart, FileThatIsNoProgramFailsForAnotherReason) {
  // What the launcher must end quietly on: the file is there, it just cannot run.
  const std::string notAProgram = folder.File("Broken.scr");
  std::FILE* file = std::fopen(notAProgram.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("not a program", file);
  std::fclose(file);

  DWORD error = 0;
  EXPECT_FALSE(StartMember(notAProgram, "/s", false, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << "neither a missing file nor a missing folder";
}

TEST_F(MemberStart, OverlongArgumentsAreRefusedNotCut) {
  // Quotes, blank and NUL take 4 bytes beside the path and the arguments.
  const std::size_t fitting = rotation::kCommandLineBufferSize - member.Path().size() - 4;

  DWORD error = 0;
  EXPECT_FALSE(StartMember(member.Path(), std::string(fitting + 1, 'x'), true, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_FALSE(member.Started()) << "a refused start must not start anything";

  const std::string longest(fitting, 'x');
  ASSERT_TRUE(StartMember(member.Path(), longest, true, &error)) << "error " << error;
  EXPECT_EQ(member.CommandLine(), "\"" + member.Path() + "\" " + longest)
      << "the longest argument string that fits must arrive whole";
}

}  // namespace
