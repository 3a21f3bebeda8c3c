// The settings store against the real registry of the test's Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "framework/file_paths.h"
#include "settings/registry_names.h"
#include "settings/settings.h"

namespace {

const std::string kProductKey = std::string(registry_names::kCollectionKey) + "\\Tellaro";

class SettingsStoreTest : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey); }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    for (const std::string& file : files_) std::remove(file.c_str());
  }

  static void SetValue(const std::string& key, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(handle);
  }
  static void SetDword(const char* name, DWORD value) { SetValue(kProductKey, name, REG_DWORD, &value, 4); }
  static void SetString(const std::string& key, const char* name, const std::string& text) {
    SetValue(key, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  static bool GetDword(const char* name, DWORD* value) {
    DWORD size = sizeof *value, type = 0;
    return RegGetValueA(HKEY_CURRENT_USER, kProductKey.c_str(), name, RRF_RT_ANY, &type, value, &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD;
  }
  std::string MakeFile(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file) std::fclose(file);
    files_.push_back(path);
    return path;
  }
  // Installs a member: its "List" value and its key's "ExecutablePath".
  static void AddMember(const std::string& keyName, const std::string& title, const std::string& path) {
    SetString(std::string(registry_names::kCollectionKey) + "\\List", keyName.c_str(), title);
    SetString(std::string(registry_names::kCollectionKey) + "\\" + keyName, "ExecutablePath", path);
  }

  std::vector<std::string> files_;
};

void ExpectDefaults(const Settings& s) {
  EXPECT_EQ(s.XResolution, 1024);
  EXPECT_EQ(s.YResolution, 768);
  EXPECT_EQ(s.ColorDepth, 16);
  EXPECT_EQ(s.CurrentVideomode, 1);
  EXPECT_EQ(s.RandomCameraStart, 1);
  EXPECT_EQ(s.AnimationSpeed, 50);
  EXPECT_EQ(s.CamMode, 0);
  EXPECT_EQ(s.NightSide, 1);
  EXPECT_EQ(s.DemoMode, 0);
  EXPECT_EQ(s.Monitors, 0) << "the main monitor only";
}

TEST_F(SettingsStoreTest, EmptyRegistryKeepsTheDefaults) {
  Settings settings;
  EXPECT_FALSE(settings.Load());
  ExpectDefaults(settings);
  EXPECT_TRUE(settings.InstallPath.empty());
  EXPECT_TRUE(settings.members.empty());
  EXPECT_EQ(Settings::GetInstallPath(), "");
}

TEST_F(SettingsStoreTest, PartialValuesOverrideOnlyTheirFields) {
  SetDword("AnimationSpeed", 80);
  Settings settings;
  EXPECT_TRUE(settings.Load());
  EXPECT_EQ(settings.AnimationSpeed, 80);
  settings.AnimationSpeed = 50;
  ExpectDefaults(settings);
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeOrSizeNeverFailTheLoad) {
  const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const unsigned char two[2] = {9, 9};
  SetValue(kProductKey, "XResolution", REG_BINARY, eight, sizeof eight);
  SetValue(kProductKey, "YResolution", REG_BINARY, two, sizeof two);
  SetString(kProductKey, "ColorDepth", "a string far longer than four bytes");
  SetDword("CamMode", 2);
  Settings settings;
  EXPECT_TRUE(settings.Load());
  EXPECT_EQ(settings.XResolution, 1024) << "an 8-byte value is not read into a 4-byte field";
  EXPECT_EQ(settings.YResolution, 768) << "a 2-byte value leaves the field";
  EXPECT_EQ(settings.ColorDepth, 16);
  EXPECT_EQ(settings.CamMode, 2) << "the values after the odd ones are still read";
}

// The registry names are the collection's, shared with its other programs: written out here
// as they stand in the registry, not taken from the store's own table.
TEST_F(SettingsStoreTest, SaveWritesTheTenDwordsUnderTheirNamesAndLoadReadsThem) {
  Settings saved;
  saved.XResolution = 800;
  saved.YResolution = 600;
  saved.ColorDepth = 32;
  saved.CurrentVideomode = 0;
  saved.RandomCameraStart = 0;
  saved.AnimationSpeed = 99;
  saved.CamMode = 2;
  saved.NightSide = 0;
  saved.DemoMode = 1;
  saved.Monitors = 1;
  EXPECT_TRUE(saved.Save());
  const std::pair<const char*, DWORD> written[] = {
      {"XResolution", 800}, {"YResolution", 600}, {"ColorDepth", 32}, {"CurrentVideomode", 0}, {"RandomCameraStart", 0},
      {"AnimationSpeed", 99}, {"CamMode", 2}, {"NightSide", 0}, {"DemoMode", 1}, {"Monitors", 1}};
  for (const auto& [name, expected] : written) {
    DWORD value = 0xDEADBEEF;
    EXPECT_TRUE(GetDword(name, &value)) << name;
    EXPECT_EQ(value, expected) << name;
  }

  const std::pair<const char*, DWORD> stored[] = {
      {"XResolution", 1280}, {"YResolution", 1024}, {"ColorDepth", 24}, {"CurrentVideomode", 1},
      {"RandomCameraStart", 1}, {"AnimationSpeed", 7}, {"CamMode", 1}, {"NightSide", 1}, {"DemoMode", 0}, {"Monitors", 1}};
  for (const auto& [name, value] : stored) SetDword(name, value);
  Settings loaded;
  EXPECT_TRUE(loaded.Load());
  EXPECT_EQ(loaded.XResolution, 1280);
  EXPECT_EQ(loaded.YResolution, 1024);
  EXPECT_EQ(loaded.ColorDepth, 24);
  EXPECT_EQ(loaded.CurrentVideomode, 1);
  EXPECT_EQ(loaded.RandomCameraStart, 1);
  EXPECT_EQ(loaded.AnimationSpeed, 7);
  EXPECT_EQ(loaded.CamMode, 1);
  EXPECT_EQ(loaded.NightSide, 1);
  EXPECT_EQ(loaded.DemoMode, 0);
  EXPECT_EQ(loaded.Monitors, 1);
}

TEST_F(SettingsStoreTest, RestoreDefaultsKeepsRandomCameraStart) {
  SetDword("RandomCameraStart", 0);
  SetDword("XResolution", 640);
  SetDword("DemoMode", 1);
  SetDword("NightSide", 0);
  SetDword("Monitors", 1);
  Settings settings;
  settings.RestoreDefaults();
  EXPECT_EQ(settings.RandomCameraStart, 0);
  settings.RandomCameraStart = 1;
  ExpectDefaults(settings);
  DWORD stored = 1;
  ASSERT_TRUE(GetDword("RandomCameraStart", &stored));
  EXPECT_EQ(stored, 0u);
  ASSERT_TRUE(GetDword("XResolution", &stored));
  EXPECT_EQ(stored, 1024u) << "the reset values are saved";
}

TEST_F(SettingsStoreTest, ListShowsOnlyMembersWhoseProgramExists) {
  const std::string present = MakeFile("member-present.scr");
  AddMember("Present", "Present Saver", present);
  AddMember("Gone", "Gone Saver", "C:\\no\\such\\program.scr");
  SetString(std::string(registry_names::kCollectionKey) + "\\List", "NoKey", "Member without a key");
  Settings settings;
  ASSERT_TRUE(settings.Load());
  ASSERT_EQ(settings.members.size(), 1u);
  EXPECT_EQ(settings.members[0].title, "Present Saver");
  EXPECT_EQ(settings.members[0].keyName, "Present");
  EXPECT_EQ(settings.members[0].executablePath, present);
}

TEST_F(SettingsStoreTest, LongValueNamesAfterShortPathsAreEnumerated) {
  const std::string program = MakeFile("m.scr");  // a short path read just before the long names
  AddMember("A", "Short", program);
  const std::string longMember(200, 'L');  // as long as a member key may be
  AddMember(longMember, "Long", program);
  // 300 characters cannot name a key, so this member is left out, but the ones after it are read.
  SetString(std::string(registry_names::kCollectionKey) + "\\List", std::string(300, 'N').c_str(), "Too long");
  AddMember("Z", "Last", program);
  Settings settings;
  ASSERT_TRUE(settings.Load());
  std::string keys;
  for (const CollectionEntry& member : settings.members) keys += member.keyName.substr(0, 1) + ",";
  EXPECT_EQ(settings.members.size(), 3u) << keys;
  bool sawLong = false, sawLast = false;
  for (const CollectionEntry& member : settings.members) {
    sawLong |= member.keyName == longMember;
    sawLast |= member.keyName == "Z";
  }
  EXPECT_TRUE(sawLong) << "a 200-character value name must be read whole";
  EXPECT_TRUE(sawLast) << "enumeration goes on past a 300-character value name";
}

TEST_F(SettingsStoreTest, ValuesFillingTheirBuffersAreReadAndLongerOnesSkippedAlone) {
  const std::string program = MakeFile("full.scr");
  const std::string fullTitle(1023, 'T');  // with its terminator exactly the 1,024-byte buffer
  AddMember("A", fullTitle, program);
  AddMember("B", std::string(1024, 'X'), program);  // one too long: this member alone is left out
  AddMember("C", "After", program);
  const std::string fullPath = "C:\\" + std::string(1020, 'p');
  SetString(kProductKey, "InstallPath", fullPath);
  Settings settings;
  ASSERT_TRUE(settings.Load());
  std::string keys;
  for (const CollectionEntry& member : settings.members) keys += member.keyName;
  ASSERT_EQ(keys, "AC");
  EXPECT_EQ(settings.members[0].title, fullTitle);
  EXPECT_EQ(settings.InstallPath, fullPath);
  EXPECT_EQ(Settings::GetInstallPath(), fullPath);
}

TEST_F(SettingsStoreTest, FileExistsNeedsAReadableFile) {
  EXPECT_FALSE(fw::FileExists(""));
  EXPECT_FALSE(fw::FileExists("C:\\definitely\\missing.scr"));
  EXPECT_TRUE(fw::FileExists(MakeFile("exists.bin")));
}

}  // namespace
