// Inside a Windows program: the data folder packed by the build is linked in as resource
// "RFILE" 152, found by the type name "rfile", and every file of the folder comes out of
// it as a member of the same name with exactly the file's bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/image_reader.h"
#include "resources/resource_lookup.h"
#include "resources/resource_pak.h"
#include "resources/trace.h"

namespace {

struct DataFile {
  std::string name;
  std::vector<uint8_t> bytes;
};

std::vector<DataFile> DataFolder() {
  std::vector<DataFile> files;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(TELLARO_DATA_DIR, error)) {
    if (!item.is_regular_file()) continue;
    std::ifstream in(item.path(), std::ios::binary);
    files.push_back({item.path().filename().string(),
                     std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
  }
  return files;
}

TEST(LinkedArchive, IsFoundByTypeNameInEitherCase) {
  HMODULE program = GetModuleHandleA(nullptr);
  for (const char* type : {"rfile", "RFILE", "RFile"}) {
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(kArchiveResourceId), type);
    ASSERT_NE(found, nullptr) << "type \"" << type << "\"";
    EXPECT_GE(SizeofResource(program, found), 22u) << "at least an end-of-directory record";
  }
}

TEST(LinkedArchive, EveryDataFileExtractsToItsExactBytes) {
  const std::vector<DataFile> files = DataFolder();
  ResourcePak pak;
  if (files.empty()) {
    // A memberless archive is only an end record, which the ZIP reader does not open.
    EXPECT_FALSE(pak.Open());
    GTEST_SKIP() << "the data folder " << TELLARO_DATA_DIR << " holds no files yet";
  }
  ASSERT_TRUE(pak.Open()) << LastTrace();
  EXPECT_EQ(pak.EntryCount(), static_cast<int32_t>(files.size())) << "one member per data file, nothing else";
  for (const DataFile& file : files) {
    ByteBuffer bytes;
    const int32_t length = pak.Extract(file.name.c_str(), &bytes);
    if (file.bytes.empty()) {
      EXPECT_EQ(length, 0) << file.name;
      continue;
    }
    ASSERT_EQ(length, static_cast<int32_t>(file.bytes.size())) << file.name << ": " << LastTrace();
    EXPECT_EQ(std::vector<uint8_t>(bytes.get(), bytes.get() + length), file.bytes) << file.name;
    std::string lower = file.name;
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    EXPECT_GT(pak.Extract(lower.c_str(), &bytes), 0) << lower << " (looked up in lower case)";
  }
}

// Every picture of the folder (by the extension rule) decodes from the program's archive,
// looked up in lower case as the scene asks for the flare pictures.
TEST(LinkedArchive, EveryPictureDecodes) {
  ResourcePak pak;
  const std::vector<DataFile> files = DataFolder();
  if (files.empty()) GTEST_SKIP() << "the data folder holds no files yet";
  ASSERT_TRUE(pak.Open()) << LastTrace();
  for (const DataFile& file : files) {
    std::string lower = file.name;
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const size_t dot = lower.find('.');
    if (dot == std::string::npos || (lower.substr(dot) != ".jpg" && lower.substr(dot) != ".tga")) continue;
    Image image;
    ASSERT_EQ(ReadImage(&image, lower.c_str(), pak), 1) << lower << ": " << LastTrace();
    EXPECT_GT(image.width, 0) << lower;
    EXPECT_GT(image.height, 0) << lower;
  }
}

TEST(LinkedArchive, OtherIdentifiersAreNotFound) {
  ResourcePak pak;
  ClearLastTrace();
  EXPECT_FALSE(pak.Open(kArchiveResourceId + 1));
  EXPECT_EQ(LastTrace(), "Can't open file \"_ResourceData\"");
  EXPECT_EQ(ResourceStream::Open(kArchiveResourceId, "r"), nullptr);
}

}  // namespace
