// Inside a program: the data folder packed by the build is linked in (on Windows as resource
// "RFILE" 152, found by the type name "rfile"; natively as bytes assembled into the program),
// and every file of the folder comes out of it as a member of the same name with exactly the
// file's bytes.
#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/image_reader.h"
#include "resources/trace.h"
#ifndef _WIN32
#include "resources/linked_archive.h"
#endif

namespace {

bool OpenProgramArchive(ResourcePak& pak) {
#ifdef _WIN32
  return pak.Open();
#else
  return pak.Open(ProgramArchive().data, ProgramArchive().size);
#endif
}

TEST(LinkedArchive, EveryDataFileExtractsToItsExactBytesAndEveryPictureDecodes) {
  ResourcePak pak;
  ASSERT_TRUE(OpenProgramArchive(pak)) << pak.LastResult().reason();
  int32_t files = 0;
  for (const auto& item : std::filesystem::directory_iterator(TELLARO_DATA_DIR)) {
    if (!item.is_regular_file()) continue;
    ++files;
    std::ifstream in(item.path(), std::ios::binary);
    const std::vector<uint8_t> expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string name = item.path().filename().string();
    ByteBuffer bytes;
    const int32_t length = pak.Extract(name.c_str(), &bytes);
    EXPECT_EQ(std::vector<uint8_t>(bytes.get(), bytes.get() + length), expected) << name << ": " << pak.LastResult().reason();

    // The scene asks for the pictures in lower case (the flares are stored as Flare1.jpg ...).
    for (char& c : name) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    const std::string extension = name.substr(std::min(name.find('.'), name.size()));
    if (extension != ".jpg" && extension != ".tga") continue;
    Image image;
    const ImageResult read = ReadImage(&image, name.c_str(), pak);
    EXPECT_TRUE(read) << name << ": " << read.reason();
  }
  EXPECT_GT(files, 0) << "the data folder " << TELLARO_DATA_DIR << " is empty";
  EXPECT_EQ(pak.EntryCount(), files) << "one member per data file, nothing else";
}

}  // namespace
