// randomizer.exe run as its own process under Wine against the registry of the prefix, with
// recording stand-ins (record_member.cpp) for this screensaver and the other collection
// members; and a member started for a settings page as the dialog does.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "rotation/member_command_line.h"
#include "rotation/member_start.h"
#include "settings/registry_names.h"
#include "tests/support/win_process.h"

namespace {

namespace names = registry_names;

// Long enough for a Wine process start, short enough to fail a hung run instead of the test.
constexpr DWORD kTimeoutMs = 15000;
const std::string kRandomizer = WindowsPath(TELLARO_RANDOMIZER_EXE);
const char kErrorText[] =
    "This screensaver is not installed properly. Please reinstall it.\n"
    "(if you have lost installer, you can download it from http://www.kestrune.example/";

// A copy of the recording member program.
struct Program {
  std::string path;

  bool Started() const { return GetFileAttributesA((path + ".cmdline").c_str()) != INVALID_FILE_ATTRIBUTES; }
  // The command line it recorded, waiting up to `waitMs` for it.
  std::optional<std::string> CommandLine(DWORD waitMs = 0) const {
    for (DWORD waited = 0; !Started() && waited < waitMs; waited += 20) Sleep(20);
    std::ifstream file(path + ".cmdline", std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  bool Ended() const { return GetFileAttributesA((path + ".ended").c_str()) != INVALID_FILE_ATTRIBUTES; }
  void Forget() const {
    DeleteFileA((path + ".cmdline").c_str());
    DeleteFileA((path + ".ended").c_str());
  }
  void Hold(bool on) const {
    if (on) std::ofstream(path + ".hold").close();
    else DeleteFileA((path + ".hold").c_str());
  }
};

std::string Launched(const Program& program, const std::string& arguments) {
  return "\"" + program.path + "\" " + arguments;
}

std::vector<BYTE> Sz(const std::string& text) { return {text.c_str(), text.c_str() + text.size() + 1}; }
std::vector<BYTE> Dword(DWORD value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  return {bytes, bytes + sizeof value};
}

// The text of a window, also of another process's.
std::string TextOf(HWND window) {
  char text[1024] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

// A message box's message: its only static control with text (the icon's has none).
BOOL CALLBACK FindMessage(HWND child, LPARAM found) {
  char className[16] = {};
  GetClassNameA(child, className, sizeof className);
  if (_stricmp(className, "Static") != 0 || TextOf(child).empty()) return TRUE;
  *reinterpret_cast<std::string*>(found) = TextOf(child);
  return FALSE;
}

class Launcher : public ::testing::Test {
 protected:
  // A fresh folder with a blank in its name, so that unquoted command lines would come apart,
  // holding this screensaver's program; the collection key holds only its "ExecutablePath".
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "tellaro launcher " + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_ << ", error " << GetLastError();
    own = Install("Tellaro.scr");
    ResetRegistry();
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, names::kCollectionKey);
    for (const Program& program : programs_) program.Hold(false);
    std::error_code error;  // a released program may need a moment to end before its file can go
    for (int attempt = 0; attempt < 100; ++attempt, Sleep(50)) {
      std::filesystem::remove_all(folder_, error);
      if (!error) break;
    }
  }

  std::string File(const std::string& name) const { return folder_ + "\\" + name; }

  Program Install(const std::string& name) {
    Program program{File(name)};
    EXPECT_TRUE(CopyFileA(WindowsPath(TELLARO_RECORD_MEMBER_EXE).c_str(), program.path.c_str(), FALSE)) << name;
    programs_.push_back(program);
    return program;
  }

  // A value under the collection key, or under its subkey `subkey`.
  static void Set(const std::string& subkey, const char* name, DWORD type, const std::vector<BYTE>& data) {
    const std::string key = names::kCollectionKey + (subkey.empty() ? "" : "\\" + subkey);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS)
        << key << "\\" << name;
  }
  // A "List" value named `key`, and that key with the member's "ExecutablePath".
  static void List(const std::string& key, const std::string& executablePath) {
    Set(names::kListKey, key.c_str(), REG_SZ, Sz(key + " title"));
    Set(key, names::kExecutablePath, REG_SZ, Sz(executablePath));
  }
  void ResetRegistry() const {
    RegDeleteTreeA(HKEY_CURRENT_USER, names::kCollectionKey);
    Set(names::kProductKey, names::kExecutablePath, REG_SZ, Sz(own.path));
  }

  // Runs randomizer to its end with every installed program held running, and returns its
  // exit code. With `waits` (a full-screen run) randomizer must still run once a program has
  // started; otherwise it must end while the program it started still runs.
  DWORD Run(const std::string& arguments, bool waits) {
    const std::string shown = "randomizer " + arguments.substr(0, 20);
    for (const Program& program : programs_) {
      program.Hold(true);
      DeleteFileA((program.path + ".ended").c_str());
    }
    ChildProcess run;
    EXPECT_TRUE(run.Start(kRandomizer, arguments)) << "cannot start " << kRandomizer;
    const auto anyStarted = [&] {
      return std::any_of(programs_.begin(), programs_.end(), [](const Program& p) { return p.Started(); });
    };
    DWORD code = STILL_ACTIVE;
    if (!waits) {
      // It ends while the program it started is held running.
      EXPECT_TRUE(run.WaitForExit(kTimeoutMs, &code)) << shown << " waited for the program it started";
      for (const Program& program : programs_) program.Hold(false);
      // The released program ends before the next run looks for end markers.
      for (const Program& program : programs_)
        for (DWORD waited = 0; program.Started() && !program.Ended() && waited < kTimeoutMs; waited += 20) Sleep(20);
      return code;
    }
    for (DWORD waited = 0; waited < kTimeoutMs && !anyStarted() && !run.WaitForExit(20); waited += 20) {
    }
    // A launcher that did not wait would end while the program is held; one that waits ends
    // only after the program, which leaves its end marker as it goes.
    EXPECT_FALSE(run.WaitForExit(3000)) << shown << " ended while the program it started ran";
    for (const Program& program : programs_) program.Hold(false);
    EXPECT_TRUE(run.WaitForExit(kTimeoutMs, &code)) << shown << " did not end";
    EXPECT_TRUE(std::any_of(programs_.begin(), programs_.end(), [](const Program& p) { return p.Ended(); }))
        << shown << " ended before the program it started";
    return code;
  }

  Program own;

 private:
  std::string folder_;
  std::vector<Program> programs_;
};

TEST_F(Launcher, FullScreenRandomRunsChooseEveryInstalledMemberAndWaitForIt) {
  Set("", names::kStartRandom, REG_DWORD, Dword(1));
  std::vector<Program> members;
  for (const std::string name : {"Alpha", "Bravo", "Charlie"}) {
    members.push_back(Install(name + ".scr"));
    List(name, members.back().path);
    List("Gone " + name, File("Gone " + name + ".scr"));  // listed, but its file was deleted
  }
  std::set<std::string> chosen;
  // The choice follows the tick count: a handful of runs normally reaches every member.
  for (int run = 0; run < 30 && chosen.size() < members.size(); ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    for (const Program& member : members) member.Forget();
    ASSERT_EQ(Run("/s", true), 0u);
    int started = 0;
    for (const Program& member : members) {
      if (!member.Started()) continue;
      ++started;
      chosen.insert(member.path);
      EXPECT_EQ(member.CommandLine(), Launched(member, "/s"));
    }
    ASSERT_EQ(started, 1) << "exactly one member starts per run";
    ASSERT_FALSE(own.Started()) << "this screensaver is not a listed member here";
  }
  EXPECT_EQ(chosen.size(), members.size()) << "some member was never chosen in 30 runs";
}

// One member, Alpha, whose program is installed: which program each run starts with the
// arguments, and that randomizer waits for it only in a full-screen run ("/s", "-s").
TEST_F(Launcher, EachRunStartsTheRightProgramWithItsArguments) {
  const Program alpha = Install("Alpha.scr");
  enum Listing { kInstalled, kFileDeleted, kNoList };
  struct Case {
    const char* arguments;
    const char* startRandom;
    DWORD type;  // of "StartRandom"; REG_NONE: absent
    std::vector<BYTE> data;
    Listing alphaListing;
    bool startsAlpha;
  };
  const std::vector<Case> cases = {
      {"-s", "1", REG_DWORD, Dword(1), kInstalled, true},
      {"/s", "absent", REG_NONE, {}, kInstalled, false},
      {"/s", "the string 1", REG_SZ, Sz("1"), kInstalled, false},
      {"/s", "4 binary bytes of 1", REG_BINARY, Dword(1), kInstalled, false},
      {"/s", "0", REG_DWORD, Dword(0), kInstalled, false},
      {"/s", "a DWORD without data", REG_DWORD, {}, kInstalled, false},
      {"/s", "1, the only member's file deleted", REG_DWORD, Dword(1), kFileDeleted, false},
      {"/s", "1, no List key", REG_DWORD, Dword(1), kNoList, false},
      {"/p 1234", "1", REG_DWORD, Dword(1), kInstalled, false},
      {"/S", "1 (upper case is no full-screen run)", REG_DWORD, Dword(1), kInstalled, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.arguments) + " with StartRandom " + c.startRandom);
    ResetRegistry();
    own.Forget();
    alpha.Forget();
    if (c.type != REG_NONE) Set("", names::kStartRandom, c.type, c.data);
    if (c.alphaListing != kNoList) List("Alpha", c.alphaListing == kInstalled ? alpha.path : File("Gone.scr"));
    const std::string arguments = c.arguments;
    EXPECT_EQ(Run(arguments, arguments == "/s" || arguments == "-s"), 0u);
    const Program& started = c.startsAlpha ? alpha : own;
    EXPECT_EQ(started.CommandLine(kTimeoutMs), Launched(started, arguments));
    EXPECT_FALSE((c.startsAlpha ? own : alpha).Started());
  }
}

TEST_F(Launcher, ListValueNameLongerThanThePreviousPathIsStillEnumerated) {
  Set("", names::kStartRandom, REG_DWORD, Dword(1));
  // Enumerated first (by insertion and by name): a member whose short path does not exist, so
  // the one with the long value name is the only candidate.
  List("A", "C:\\n.scr");
  const Program member = Install("Long.scr");
  List(std::string(200, 'L'), member.path);
  EXPECT_EQ(Run("/s", true), 0u);
  EXPECT_EQ(member.CommandLine(), Launched(member, "/s")) << "the 200-character value name was not enumerated";
  EXPECT_FALSE(own.Started());
}

// Nothing to start for want of a file: the error box, and -1 once it is dismissed.
TEST_F(Launcher, WithoutItsOwnProgramTheErrorBoxAndMinusOne) {
  const std::vector<std::tuple<const char*, DWORD, std::string, const char*>> cases = {
      {"/p 1234", REG_NONE, "", "absent"},
      {"/s", REG_SZ, File("Deleted.scr"), "naming a deleted file"},
      {"/c", REG_SZ, File("no such folder\\Tellaro.scr"), "in a missing folder"},
      {"/c", REG_EXPAND_SZ, own.path, "of type REG_EXPAND_SZ"},
      {"/c", REG_SZ, "", "empty"},
      {"/c", REG_SZ, std::string(1100, 'x'), "longer than the path buffer"},
  };
  for (const auto& [arguments, type, path, what] : cases) {
    SCOPED_TRACE(std::string(arguments) + " with own ExecutablePath " + what);
    RegDeleteTreeA(HKEY_CURRENT_USER, names::kCollectionKey);
    if (type != REG_NONE) Set(names::kProductKey, names::kExecutablePath, type, Sz(path));
    ChildProcess run;
    ASSERT_TRUE(run.Start(kRandomizer, arguments)) << "CreateProcess error " << GetLastError();
    const HWND box = run.WaitForWindow(kTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box";
    std::string text;
    EnumChildWindows(box, FindMessage, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(TextOf(box), "Screensaver error");
    EXPECT_EQ(text, kErrorText);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 0;
    ASSERT_TRUE(run.WaitForExit(kTimeoutMs, &code)) << "did not end after OK";
    EXPECT_EQ(code, static_cast<DWORD>(-1));
    EXPECT_FALSE(own.Started());
  }
}

// Any other start failure ends silently with 0: an argument string that would overflow the
// 2,048-byte command line (refused, never cut) and a file that is no program.
TEST_F(Launcher, OtherStartFailuresEndSilentlyWithZero) {
  const std::string fitting(rotation::kCommandLineBufferSize - own.path.size() - 4, 'x');  // quotes, blank, NUL
  EXPECT_EQ(Run(fitting, false), 0u);
  EXPECT_EQ(own.CommandLine(kTimeoutMs), Launched(own, fitting)) << "the longest arguments that fit arrive whole";
  own.Forget();
  EXPECT_EQ(Run(fitting + "x", false), 0u);
  Sleep(1000);  // room for a wrongly started program to leave its record
  EXPECT_FALSE(own.Started()) << "arguments that do not fit must not be passed on, not even cut";

  std::ofstream(File("Broken.scr")) << "not a program";
  Set(names::kProductKey, names::kExecutablePath, REG_SZ, Sz(File("Broken.scr")));
  EXPECT_EQ(Run("/c", false), 0u) << "no box for a file that exists but cannot run";
}

// The settings dialog's page: "-1:" and the page window's handle in upper-case hexadecimal.
TEST_F(Launcher, PageReceivesItsWindowHandleInUpperCaseHex) {
  const HWND page = CreateWindowExA(0, "STATIC", "page", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(page, nullptr) << "cannot create a window, error " << GetLastError();
  const auto started = rotation::StartMember(own.path, rotation::PageArgument(page));
  ASSERT_TRUE(started) << started.reason();
  std::ostringstream hex;
  hex << std::uppercase << std::hex << (reinterpret_cast<std::uintptr_t>(page) & 0xFFFFFFFFu);
  EXPECT_EQ(own.CommandLine(kTimeoutMs), Launched(own, "-1:" + hex.str()));
  DestroyWindow(page);
}

}  // namespace
