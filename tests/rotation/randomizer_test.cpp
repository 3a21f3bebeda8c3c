// randomizer.exe run as its own process under Wine, against the registry of the prefix,
// with recording stand-ins for this screensaver and for the other collection members.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/rotation/wine_support.h"

namespace {

using namespace rotation_test;

const std::string kRandomizer = WindowsPath(TELLARO_RANDOMIZER_EXE);

const char kErrorText[] =
    "This screensaver is not installed properly. Please reinstall it.\n"
    "(if you have lost installer, you can download it from http://www.kestrune.example/";

std::string Started(const MemberProgram& program, const std::string& arguments) {
  return "\"" + program.Path() + "\" " + arguments;
}

class Randomizer : public ::testing::Test {
 protected:
  TempFolder folder;
  CollectionRegistry registry;
  MemberProgram own{folder, "Tellaro.scr"};

  void SetUp() override { registry.SetOwnExecutablePath(own.Path()); }

  // Members listed and installed besides this screensaver, each sleeping `sleepMs` when started.
  std::vector<std::unique_ptr<MemberProgram>> InstallMembers(std::initializer_list<const char*> names,
                                                             DWORD sleepMs) {
    std::vector<std::unique_ptr<MemberProgram>> members;
    for (const char* name : names) {
      members.push_back(std::make_unique<MemberProgram>(folder, std::string(name) + ".scr"));
      members.back()->SetSleep(sleepMs);
      registry.AddMember(name, std::string(name) + " title", members.back()->Path());
    }
    return members;
  }

  // Runs randomizer with `arguments` to its end and returns its exit code.
  DWORD RunToEnd(const std::string& arguments) {
    ChildProcess run(kRandomizer, arguments);
    EXPECT_TRUE(run.Started()) << "cannot start " << kRandomizer << ", error " << GetLastError();
    EXPECT_TRUE(run.WaitForExit(kExitTimeoutMs)) << "randomizer " << arguments << " did not end";
    return run.ExitCode();
  }

  // Runs randomizer with arguments that must not make it wait: `program` sleeps long, so it
  // is still running when randomizer has ended; then it is ended.
  void ExpectStartedWithoutWait(const MemberProgram& program, const std::string& arguments) {
    program.SetSleep(20000);
    EXPECT_EQ(RunToEnd(arguments), 0u);
    std::optional<std::string> line = program.WaitForCommandLine(kExitTimeoutMs);
    ASSERT_TRUE(line.has_value()) << program.Path() << " was not started for \"" << arguments << "\"";
    EXPECT_EQ(*line, Started(program, arguments));
    EXPECT_FALSE(program.Done()) << "randomizer waited for \"" << arguments << "\"";
    program.End();
  }

  void ExpectErrorBoxAndMinusOne(const std::string& arguments, const std::string& situation) {
    ChildProcess run(kRandomizer, arguments);
    ASSERT_TRUE(run.Started());
    std::optional<MessageBoxSeen> box = DismissMessageBox(run.Id(), kExitTimeoutMs);
    ASSERT_TRUE(box.has_value()) << situation << ": no message box";
    EXPECT_EQ(box->caption, "Screensaver error") << situation;
    EXPECT_EQ(box->text, kErrorText) << situation;
    ASSERT_TRUE(run.WaitForExit(kExitTimeoutMs)) << situation << ": did not end after OK";
    EXPECT_EQ(run.ExitCode(), static_cast<DWORD>(-1)) << situation;
    EXPECT_FALSE(own.Started()) << situation;
  }
};

// --- Full-screen runs: "/s" and "-s" -------------------------------------------------------

TEST_F(Randomizer, RandomModeStartsEachMemberWithSlashSAndWaitsForIt) {
  registry.SetStartRandom(1);
  auto members = InstallMembers({"Alpha", "Bravo", "Charlie"}, 300);
  std::map<std::string, int> chosen;
  // Runs until every member has been chosen; the choice follows the tick count, so a
  // handful of runs normally suffices and 30 make a miss practically impossible.
  for (int run = 0; run < 30 && chosen.size() < members.size(); ++run) {
    for (auto& member : members) member->ClearRecords();
    ASSERT_EQ(RunToEnd("/s"), 0u) << "run " << run;
    int startedCount = 0;
    for (auto& member : members) {
      if (!member->Started()) continue;
      ++startedCount;
      ++chosen[member->Path()];
      EXPECT_EQ(member->CommandLine(), Started(*member, "/s")) << "run " << run;
      EXPECT_TRUE(member->Done()) << "randomizer ended before " << member->Path() << " did (run " << run << ")";
    }
    ASSERT_EQ(startedCount, 1) << "exactly one member starts per run (run " << run << ")";
    ASSERT_FALSE(own.Started()) << "this screensaver is not a listed member here";
  }
  EXPECT_EQ(chosen.size(), members.size()) << "some member was never chosen in 30 runs";
}

TEST_F(Randomizer, DashSIsAFullScreenRunToo) {
  registry.SetStartRandom(1);
  auto members = InstallMembers({"Alpha"}, 500);
  EXPECT_EQ(RunToEnd("-s"), 0u);
  EXPECT_EQ(members[0]->CommandLine(), Started(*members[0], "-s"));
  EXPECT_TRUE(members[0]->Done()) << "randomizer did not wait for -s";
}

TEST_F(Randomizer, WithoutStartRandomThisScreensaverRunsAndIsWaitedFor) {
  InstallMembers({"Alpha", "Bravo"}, 0);
  own.SetSleep(500);
  EXPECT_EQ(RunToEnd("/s"), 0u);
  EXPECT_EQ(own.CommandLine(), Started(own, "/s"));
  EXPECT_TRUE(own.Done()) << "randomizer did not wait for this screensaver";
}

// --- Other argument strings: this screensaver, no waiting ----------------------------------

class RandomizerOtherArguments : public Randomizer, public ::testing::WithParamInterface<const char*> {};

TEST_P(RandomizerOtherArguments, StartThisScreensaverAndEndAtOnce) {
  registry.SetStartRandom(1);
  auto members = InstallMembers({"Alpha", "Bravo"}, 0);
  ExpectStartedWithoutWait(own, GetParam());
  for (auto& member : members) EXPECT_FALSE(member->Started()) << "no random choice for \"" << GetParam() << "\"";
}

INSTANTIATE_TEST_SUITE_P(PreviewSettingsAndUpperCase, RandomizerOtherArguments,
                         ::testing::Values("/p 1234", "/S", "/c"));

// --- What counts as "StartRandom" on, and which members are candidates ----------------------

struct StoredSwitch {
  const char* name;
  const char* what;
  DWORD type;
  std::vector<BYTE> data;
};
std::ostream& operator<<(std::ostream& out, const StoredSwitch& stored) { return out << stored.what; }

class RandomizerStartRandomOff : public Randomizer, public ::testing::WithParamInterface<StoredSwitch> {};

TEST_P(RandomizerStartRandomOff, ThisScreensaverRuns) {
  registry.SetCollectionValue("StartRandom", GetParam().type, GetParam().data);
  auto members = InstallMembers({"Alpha", "Bravo"}, 0);
  EXPECT_EQ(RunToEnd("/s"), 0u);
  EXPECT_EQ(own.CommandLine(), Started(own, "/s")) << "StartRandom stored as " << GetParam().what;
  for (auto& member : members) EXPECT_FALSE(member->Started()) << "StartRandom stored as " << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    NotANonZeroDword, RandomizerStartRandomOff,
    ::testing::Values(StoredSwitch{"String", "the string 1", REG_SZ, StringData("1")},
                      StoredSwitch{"Binary", "4 binary bytes of 1", REG_BINARY, DwordData(1)},
                      StoredSwitch{"DwordZero", "a DWORD 0", REG_DWORD, DwordData(0)},
                      StoredSwitch{"DwordWithoutData", "a DWORD without data", REG_DWORD, {}}),
    [](const ::testing::TestParamInfo<StoredSwitch>& stored) { return std::string(stored.param.name); });

TEST_F(Randomizer, DeletedMembersAreNeverChosen) {
  registry.SetStartRandom(1);
  for (const char* name : {"Gone1", "Gone2", "Gone3"})
    registry.AddMember(name, name, folder.File(std::string(name) + ".scr"));
  auto members = InstallMembers({"Bravo"}, 0);
  for (int run = 0; run < 3; ++run) {
    members[0]->ClearRecords();
    EXPECT_EQ(RunToEnd("/s"), 0u) << "run " << run;
    EXPECT_EQ(members[0]->CommandLine(), Started(*members[0], "/s")) << "run " << run;
  }
}

TEST_F(Randomizer, OnlyMemberDeletedRunsThisScreensaver) {
  registry.SetStartRandom(1);
  registry.AddMember("Gone", "Gone", folder.File("Gone.scr"));
  EXPECT_EQ(RunToEnd("/s"), 0u);
  EXPECT_EQ(own.CommandLine(), Started(own, "/s"));
}

TEST_F(Randomizer, NoListKeyRunsThisScreensaver) {
  registry.SetStartRandom(1);
  EXPECT_EQ(RunToEnd("/s"), 0u);
  EXPECT_EQ(own.CommandLine(), Started(own, "/s"));
}

TEST_F(Randomizer, ValueNameLongerThanThePreviousPathIsStillEnumerated) {
  registry.SetStartRandom(1);
  // Listed first (registries enumerate it first both by insertion and by name): a member
  // whose short path no longer exists, so the long-named one is the only candidate.
  registry.AddMember("A", "Short", "C:\\n.scr");
  const std::string longName(200, 'L');
  MemberProgram member(folder, "Long.scr");
  registry.AddMember(longName, "Long", member.Path());
  EXPECT_EQ(RunToEnd("/s"), 0u);
  EXPECT_EQ(member.CommandLine(), Started(member, "/s"))
      << "the member with the " << longName.size() << "-character value name was not enumerated";
  EXPECT_FALSE(own.Started());
}

// --- Errors --------------------------------------------------------------------------------

TEST_F(Randomizer, OwnExecutablePathMissingShowsTheErrorBox) {
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kestrune\\Halcyonix\\Tellaro");
  ExpectErrorBoxAndMinusOne("/p 1234", "no own ExecutablePath");
}

TEST_F(Randomizer, OwnProgramMissingShowsTheErrorBox) {
  registry.SetOwnExecutablePath(folder.File("Deleted.scr"));
  ExpectErrorBoxAndMinusOne("/s", "own program file missing");
  registry.SetOwnExecutablePath(folder.File("no such folder\\Tellaro.scr"));
  ExpectErrorBoxAndMinusOne("/c", "own program's folder missing");
}

TEST_F(Randomizer, OwnExecutablePathThatIsNoUsableStringShowsTheErrorBox) {
  registry.SetOwnValue("ExecutablePath", REG_EXPAND_SZ, StringData(own.Path()));
  ExpectErrorBoxAndMinusOne("/c", "ExecutablePath stored as REG_EXPAND_SZ");
  registry.SetOwnValue("ExecutablePath", REG_SZ, StringData(""));
  ExpectErrorBoxAndMinusOne("/c", "empty ExecutablePath");
  registry.SetOwnValue("ExecutablePath", REG_SZ, StringData(std::string(1100, 'x')));
  ExpectErrorBoxAndMinusOne("/c", "ExecutablePath longer than the path buffer");
}

TEST_F(Randomizer, OtherStartFailureEndsSilentlyWithZero) {
  // A file that exists but is no program: the start fails for another reason than a
  // missing file. A message box would keep randomizer from ending.
  const std::string notAProgram = folder.File("Broken.scr");
  {
    std::FILE* file = std::fopen(notAProgram.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not a program", file);
    std::fclose(file);
  }
  registry.SetOwnExecutablePath(notAProgram);
  EXPECT_EQ(RunToEnd("/c"), 0u);
}

TEST_F(Randomizer, OverlongArgumentStringIsRefusedSilently) {
  const std::string overlong(2100, 'x');
  EXPECT_EQ(RunToEnd(overlong), 0u) << "a refused start ends like any other failed start";
  // Room for a wrongly started program to leave its record.
  EXPECT_FALSE(own.WaitForCommandLine(1500).has_value())
      << "an argument string that does not fit must not be passed on, not even cut";
}

}  // namespace
