// The collection's shared values as every program reads them, stored in the forms a damaged
// registry or another program may leave: another type, none, too long, no terminator.
#include "settings/collection_registry.h"

#include <gtest/gtest.h>

#include "tests/support/test_registry.h"

namespace {

using namespace collection_registry;

const std::string kCollection = registry_names::kCollectionKey;

std::vector<BYTE> Sz(const std::string& text, bool terminated = true) {
  return {text.c_str(), text.c_str() + text.size() + (terminated ? 1 : 0)};
}

struct Stored {
  const char* what;
  DWORD type;  // REG_NONE: no value
  std::vector<BYTE> data;
};

class CollectionRegistryTest : public testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kCollection.c_str()); }
  // The collection key holding nothing but `stored` at key\name.
  const RegistryKey& With(const std::string& key, const char* name, const Stored& stored) {
    TearDown();
    if (stored.type != REG_NONE) {
      EXPECT_TRUE(SetRawValue(key, name, stored.type, stored.data)) << stored.what;
    }
    EXPECT_TRUE(collection_.Create(HKEY_CURRENT_USER, kCollection.c_str()));
    return collection_;
  }
  RegistryKey collection_;
};

TEST_F(CollectionRegistryTest, PathsAndTitlesAreRegSzTextsEndingInsideTheirBuffer) {
  const std::string path = "C:\\Saver\\m.scr", over(1024, 'p');
  const std::pair<Stored, std::string> forms[] = {
      {{"REG_SZ", REG_SZ, Sz(path)}, path},
      {{"REG_SZ without terminator", REG_SZ, Sz(path, false)}, path},
      {{"REG_SZ without terminator and no room for one", REG_SZ, Sz(over, false)}, ""},
      {{"REG_SZ one byte too long", REG_SZ, Sz(over)}, ""},
      {{"REG_EXPAND_SZ", REG_EXPAND_SZ, Sz(path)}, ""},
      {{"REG_BINARY", REG_BINARY, Sz(path)}, ""},
      {{"REG_DWORD", REG_DWORD, {1, 0, 0, 0}}, ""},
      {{"missing", REG_NONE, {}}, ""}};
  for (const auto& [stored, expected] : forms) {
    EXPECT_EQ(ReadExecutablePath(With(kCollection + "\\M", "ExecutablePath", stored), "M"), expected) << stored.what;
    EXPECT_EQ(ReadInstallPath(With(kTellaroKey, "InstallPath", stored)), expected) << stored.what;
    EXPECT_EQ(ReadListTitle(With(kCollection + "\\List", "M", stored), "M"), expected) << stored.what;
  }
}

// The launcher's test has a string, binary data, zero, no data and no value.
TEST_F(CollectionRegistryTest, StartRandomIsOnOnlyAsANonZeroDwordOfUpToFourBytes) {
  const std::pair<Stored, bool> forms[] = {{{"REG_DWORD 1", REG_DWORD, {1, 0, 0, 0}}, true},
                                           {{"REG_DWORD of two bytes", REG_DWORD, {1, 0}}, true},
                                           {{"REG_DWORD of eight bytes", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}}, false},
                                           {{"REG_EXPAND_SZ 1", REG_EXPAND_SZ, Sz("1")}, false}};
  for (const auto& [stored, on] : forms)
    EXPECT_EQ(ReadStartRandom(With(kCollection, "StartRandom", stored)), on) << stored.what;
}

// The list keeps its members by their path alone: a title that is no text shows empty.
TEST_F(CollectionRegistryTest, MembersNeedARegSzPathAndShowATitleOnlyFromText) {
  char program[MAX_PATH];  // any file that exists
  ASSERT_GT(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
  const RegistryKey& collection =
      With(kCollection + "\\List", "Numbered", {"REG_DWORD title", REG_DWORD, {7, 0, 0, 0}});
  SetRawValue(kCollection + "\\Numbered", "ExecutablePath", REG_SZ, Sz(program));
  SetRawValue(kCollection + "\\List", "Expanded", REG_SZ, Sz("Expanded"));
  SetRawValue(kCollection + "\\Expanded", "ExecutablePath", REG_EXPAND_SZ, Sz(program));
  const std::vector<CollectionEntry> members = ReadMembers(collection);
  ASSERT_EQ(members.size(), 1u);
  EXPECT_EQ(members[0].keyName + "|" + members[0].title + "|" + members[0].executablePath,
            "Numbered||" + std::string(program));
}

}  // namespace
