// The uninstallation's removals on plain files and folders, and the paths they refuse to
// take apart. Links, which Wine makes only from the Unix side, are installer_test.sh's.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/link_safe_removal.h"

namespace {

using link_safe::Code;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
}

class LinkSafeRemoval : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"link-safe-" + std::to_wstring(GetCurrentProcessId());
    for (const wchar_t* folder : {L"", L"\\empty", L"\\full"})
      ASSERT_TRUE(CreateDirectoryW((root_ + folder).c_str(), nullptr));
    for (const wchar_t* file : {L"\\file.txt", L"\\full\\inner.txt"}) MakeFile(root_ + file);
  }
  void TearDown() override {
    for (const wchar_t* file : {L"\\file.txt", L"\\full\\inner.txt"}) DeleteFileW((root_ + file).c_str());
    for (const wchar_t* folder : {L"\\empty", L"\\full", L""}) RemoveDirectoryW((root_ + folder).c_str());
  }
  std::wstring root_;
};

TEST_F(LinkSafeRemoval, RemovesOnlyWhatIsAskedFor) {
  const struct {
    bool folder;
    const wchar_t* path;
    Code expected;
    bool existsAfter;
  } cases[] = {
      {false, L"\\empty", Code::OtherKind, true},
      {true, L"\\file.txt", Code::OtherKind, true},
      {true, L"\\full", Code::NotEmpty, true},
      {false, L"\\missing.txt", Code::Missing, false},
      {false, L"\\gone\\file.txt", Code::Missing, false},
      {false, L"\\file.txt", Code::Ok, false},
      {true, L"\\empty\\", Code::Ok, false},
  };
  for (const auto& c : cases) {
    const std::wstring path = root_ + c.path;
    const Result<Code> result = c.folder ? link_safe::RemoveEmptyFolder(path) : link_safe::RemoveFile(path);
    EXPECT_EQ(result.code(), c.expected) << result.reason();
    EXPECT_EQ(Exists(path), c.existsAfter) << result.reason();
  }
}

// Only plain "X:\..." paths are taken apart: nothing else reaches the file system.
TEST_F(LinkSafeRemoval, RefusesPathsThatAreNotPlain) {
  const std::wstring inner = root_ + L"\\full\\inner.txt";
  const std::wstring refused[] = {
      root_ + L"\\empty\\..\\full\\inner.txt", root_ + L"\\full\\.\\inner.txt", root_ + L"\\\\full\\inner.txt",
      L"\\\\?\\" + inner, inner.substr(3), root_ + L"\\full/inner.txt", inner + L":stream", root_ + L"\\full\\*.txt",
  };
  for (const std::wstring& path : refused) EXPECT_EQ(link_safe::RemoveFile(path).code(), Code::Failed);
  EXPECT_TRUE(Exists(inner));
}

TEST_F(LinkSafeRemoval, ListsAFoldersPlainEntries) {
  std::vector<link_safe::Entry> entries;
  ASSERT_TRUE(link_safe::ListFolder(root_, &entries));
  ASSERT_EQ(entries.size(), 3u);
  int folders = 0;
  for (const link_safe::Entry& entry : entries) folders += entry.folder;
  EXPECT_EQ(folders, 2);
}

}  // namespace
