// The archive: archives written by real tools, the lookup rules, damaged members and the
// traces of every failure.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_pak.h"
#include "resources/trace.h"
#include "tests/resources/fixture_files.h"

namespace {

using fixtures::Fixture;

std::string Repeat() {
  std::string text;
  char row[64];
  for (int i = 0; i < 1700; ++i) {
    std::snprintf(row, sizeof row, "row %05d of a long and repetitive member\n", i);
    text += row;
  }
  return text;
}

std::string AsText(const ByteBuffer& bytes, int32_t length) {
  return length > 0 ? std::string(reinterpret_cast<const char*>(bytes.get()), static_cast<size_t>(length))
                    : std::string();
}

// The members every tool-written archive holds, as make_fixtures.py wrote them.
struct Member {
  const char* name;
  std::string bytes;
};

std::vector<Member> ExpectedMembers() {
  return {{"hello.txt", "Hello, archive\r\nsecond line\r\n"},
          {"data/stars.dat", "0 0 1.5 A0\r\n1 1 2.5 G2\r\n"},
          {"repeat.bin", Repeat()}};
}

class ToolArchive : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    bytes_ = Fixture(GetParam());
    ASSERT_FALSE(bytes_.empty());
    ASSERT_TRUE(pak_.Open(bytes_.data(), static_cast<int32_t>(bytes_.size()))) << GetParam() << ": " << LastTrace();
  }
  std::vector<uint8_t> bytes_;
  ResourcePak pak_;
};

TEST_P(ToolArchive, ListsEveryMemberInDirectoryOrder) {
  ASSERT_EQ(pak_.EntryCount(), 5) << GetParam();
  const char* order[] = {"hello.txt", "Flare1.jpg", "data/stars.dat", "repeat.bin", "noise.raw"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(pak_.Entries()[i].name, order[i]) << GetParam() << " entry " << i;
  EXPECT_STREQ(pak_.Name(), "_ResourceData");
}

TEST_P(ToolArchive, ExtractsEachMemberToItsExactBytes) {
  for (const Member& member : ExpectedMembers()) {
    ByteBuffer bytes;
    const int32_t length = pak_.Extract(member.name, &bytes);
    EXPECT_EQ(length, static_cast<int32_t>(member.bytes.size())) << GetParam() << ":" << member.name << " " << LastTrace();
    EXPECT_EQ(AsText(bytes, length), member.bytes) << GetParam() << ":" << member.name;
  }
  // The two binary members agree with each other: the first 700 noise bytes are Flare1.jpg.
  ByteBuffer noise, flare;
  ASSERT_EQ(pak_.Extract("noise.raw", &noise), 5000) << GetParam();
  ASSERT_EQ(pak_.Extract("Flare1.jpg", &flare), 700) << GetParam();
  EXPECT_EQ(std::memcmp(noise.get(), flare.get(), 700), 0) << GetParam();
}

TEST_P(ToolArchive, LooksUpIgnoringLetterCase) {
  for (const char* name : {"flare1.jpg", "FLARE1.JPG", "Flare1.jpg", "fLaRe1.JpG"}) {
    ByteBuffer bytes;
    EXPECT_EQ(pak_.Extract(name, &bytes), 700) << GetParam() << ": " << name;
  }
}

TEST_P(ToolArchive, DoesNotStripAPathPrefix) {
  ByteBuffer bytes;
  ClearLastTrace();
  EXPECT_EQ(pak_.Extract("stars.dat", &bytes), 0) << GetParam();
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(LastTrace(), "File \"_ResourceData:stars.dat\" not found");
  EXPECT_EQ(pak_.Extract("DATA/STARS.DAT", &bytes), 24) << GetParam();
}

TEST_P(ToolArchive, ExtractingTwiceGivesIndependentEqualBuffers) {
  ByteBuffer first, second;
  ASSERT_EQ(pak_.Extract("repeat.bin", &first), pak_.Extract("repeat.bin", &second));
  ASSERT_NE(first.get(), second.get());
  const std::string expected = Repeat();
  first[0] = 'X';
  EXPECT_EQ(AsText(second, static_cast<int32_t>(expected.size())), expected);
}

INSTANTIATE_TEST_SUITE_P(Writers, ToolArchive,
                         ::testing::Values("infozip.zip", "cmake.zip", "py_stored.zip", "py_deflated.zip",
                                           "py_comment.zip", "py_descriptors.zip", "py_prefixed.zip"),
                         [](const ::testing::TestParamInfo<const char*>& p) {
                           std::string name = p.param;
                           return name.substr(0, name.find('.'));
                         });

class Pak : public ::testing::Test {
 protected:
  bool OpenFixture(const char* name) {
    bytes_ = Fixture(name);
    return pak_.Open(bytes_.data(), static_cast<int32_t>(bytes_.size()));
  }
  std::vector<uint8_t> bytes_;
  ResourcePak pak_;
};

TEST_F(Pak, EarlierOfTwoCaseTwinsWins) {
  ASSERT_TRUE(OpenFixture("case_twins.zip"));
  ByteBuffer bytes;
  for (const char* name : {"twin.txt", "TWIN.TXT", "twin.TXT"}) {
    const int32_t length = pak_.Extract(name, &bytes);
    EXPECT_EQ(AsText(bytes, length), "upper first") << name;
  }
}

TEST_F(Pak, DirectoryShorterThanItsCountListsWhatIsThere) {
  ASSERT_TRUE(OpenFixture("overcounted.zip")) << LastTrace();
  ASSERT_EQ(pak_.EntryCount(), 65000);
  int listed = 0;
  for (int32_t i = 0; i < pak_.EntryCount(); ++i) listed += pak_.Entries()[i].listed ? 1 : 0;
  EXPECT_EQ(listed, 3);
  ByteBuffer bytes;
  EXPECT_EQ(AsText(bytes, pak_.Extract("TWIN.txt", &bytes)), "upper first");
  EXPECT_EQ(pak_.Extract("", &bytes), 0) << "unlisted records have no name to match";
}

TEST_F(Pak, MemberShorterThanItsRecordedSizeFails) {
  for (const char* archive : {"short_stored.zip", "short_deflated.zip"}) {
    ASSERT_TRUE(OpenFixture(archive)) << archive;
    ByteBuffer bytes;
    ClearLastTrace();
    EXPECT_EQ(pak_.Extract("damaged.bin", &bytes), 0) << archive;
    EXPECT_EQ(bytes, nullptr) << archive;
    EXPECT_EQ(LastTrace(), "Can't extract file \"_ResourceData:damaged.bin\"") << archive;
    EXPECT_EQ(pak_.Extract("intact.txt", &bytes), 29) << archive << ": the next member must still work";
  }
}

TEST_F(Pak, MemberWithWrongCrcIsStillReturned) {
  ASSERT_TRUE(OpenFixture("bad_crc.zip"));
  ByteBuffer bytes;
  const int32_t length = pak_.Extract("damaged.bin", &bytes);
  EXPECT_EQ(length, 20000) << LastTrace();
  EXPECT_EQ(AsText(bytes, length), Repeat().substr(0, 20000));
}

TEST_F(Pak, EncryptedMembersAreNotHandedOut) {
  ASSERT_TRUE(OpenFixture("encrypted.zip"));
  for (const char* name : {"hello.txt", "repeat.bin"}) {
    ByteBuffer bytes;
    EXPECT_EQ(pak_.Extract(name, &bytes), 0) << name << " (stored cipher text must not pass as the member)";
    EXPECT_EQ(bytes, nullptr) << name;
  }
}

TEST_F(Pak, EmptyMemberYieldsLengthZeroAndNoBuffer) {
  ASSERT_TRUE(OpenFixture("empty_member.zip"));
  ByteBuffer bytes;
  EXPECT_EQ(pak_.Extract("empty.txt", &bytes), 0);
  EXPECT_EQ(bytes, nullptr);
  EXPECT_EQ(LastTrace(), "Can't extract file \"_ResourceData:empty.txt\"");
}

TEST_F(Pak, TextMemberIsExactlyItsBytesWithoutTerminator) {
  ASSERT_TRUE(OpenFixture("py_deflated.zip"));
  uint8_t* raw = nullptr;
  const int32_t length = pak_.Extract("hello.txt", &raw);
  ASSERT_EQ(length, 29);
  ByteBuffer owned(raw);
  // The buffer is exactly 29 bytes: reading raw[29] would be caught by the address sanitizer.
  EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), 29), "Hello, archive\r\nsecond line\r\n");
}

TEST_F(Pak, MissingResourceIdentifierFailsAndCloseIsHarmless) {
  ClearLastTrace();
  EXPECT_FALSE(pak_.Open(4711));
  EXPECT_EQ(LastTrace(), "Can't open file \"_ResourceData\"");
  EXPECT_FALSE(pak_.IsOpen());
  pak_.Close();
  pak_.Close();
  ByteBuffer bytes;
  EXPECT_EQ(pak_.Extract("hello.txt", &bytes), 0);
  EXPECT_EQ(LastTrace(), "File \"_ResourceData:hello.txt\" not found");
}

TEST_F(Pak, ReopensAfterClose) {
  ASSERT_TRUE(OpenFixture("py_deflated.zip"));
  pak_.Close();
  EXPECT_EQ(pak_.EntryCount(), 0);
  ByteBuffer bytes;
  EXPECT_EQ(pak_.Extract("hello.txt", &bytes), 0);
  ASSERT_TRUE(OpenFixture("case_twins.zip"));
  EXPECT_EQ(pak_.EntryCount(), 3);
}

TEST_F(Pak, BuffersOutliveThePak) {
  ByteBuffer bytes;
  {
    ResourcePak pak;
    const std::vector<uint8_t> archive = Fixture("py_deflated.zip");
    ASSERT_TRUE(pak.Open(archive.data(), static_cast<int32_t>(archive.size())));
    ASSERT_EQ(pak.Extract("hello.txt", &bytes), 29);
  }
  EXPECT_EQ(AsText(bytes, 29), "Hello, archive\r\nsecond line\r\n");
}

TEST_F(Pak, TwoPaksOverTheSameBytesKeepTheirOwnCursors) {
  const std::vector<uint8_t> archive = Fixture("py_deflated.zip");
  ResourcePak first, second;
  ASSERT_TRUE(first.Open(archive.data(), static_cast<int32_t>(archive.size())));
  ASSERT_TRUE(second.Open(archive.data(), static_cast<int32_t>(archive.size())));
  ByteBuffer a, b;
  EXPECT_EQ(first.Extract("repeat.bin", &a), 71400);
  EXPECT_EQ(second.Extract("hello.txt", &b), 29);
  EXPECT_EQ(first.Extract("noise.raw", &a), 5000);
}

// Not archives at all, or archives the reader must refuse; every one is handed over in a
// buffer of its exact length.
struct BadArchive {
  const char* what;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Eocd(uint16_t disk, uint16_t diskWithDirectory, uint16_t entriesHere, uint16_t entries,
                          uint32_t directorySize, uint32_t directoryOffset) {
  std::vector<uint8_t> b = {'P', 'K', 5, 6};
  auto put16 = [&](uint16_t v) { b.push_back(static_cast<uint8_t>(v)); b.push_back(static_cast<uint8_t>(v >> 8)); };
  auto put32 = [&](uint32_t v) { put16(static_cast<uint16_t>(v)); put16(static_cast<uint16_t>(v >> 16)); };
  put16(disk);
  put16(diskWithDirectory);
  put16(entriesHere);
  put16(entries);
  put32(directorySize);
  put32(directoryOffset);
  put16(0);
  return b;
}

std::vector<uint8_t> Truncated(const char* fixture, size_t keep) {
  std::vector<uint8_t> bytes = Fixture(fixture);
  bytes.resize(keep < bytes.size() ? keep : bytes.size());
  bytes.shrink_to_fit();
  return bytes;
}

TEST(PakRefuses, ArchivesTheReaderCannotRead) {
  const std::vector<BadArchive> cases = {
      {"a single byte", {0x50}},
      {"text", {'n', 'o', 't', ' ', 'a', ' ', 'z', 'i', 'p'}},
      {"an end record cut short", {'P', 'K', 5, 6, 0, 0}},
      {"a second disk", Eocd(1, 0, 0, 0, 0, 0)},
      {"directory on another disk", Eocd(0, 1, 0, 0, 0, 0)},
      {"unequal entry counts", Eocd(0, 0, 1, 2, 0, 0)},
      {"directory after the end record", Eocd(0, 0, 1, 1, 46, 0)},
      {"archive cut before its end record", Truncated("py_deflated.zip", 4000)},
  };
  for (const BadArchive& c : cases) {
    ResourcePak pak;
    ClearLastTrace();
    std::vector<uint8_t> exact(c.bytes);
    exact.shrink_to_fit();
    EXPECT_FALSE(pak.Open(exact.data(), static_cast<int32_t>(exact.size()))) << c.what;
    EXPECT_EQ(LastTrace(), "Can't open file \"_ResourceData\"") << c.what;
    EXPECT_FALSE(pak.IsOpen()) << c.what;
  }
  ResourcePak pak;
  EXPECT_FALSE(pak.Open(nullptr, 100));
  const uint8_t one = 0;
  EXPECT_FALSE(pak.Open(&one, 0));
}

// The ZIP reader looks for the end record after the first byte of the data, so an archive
// that is nothing but an end record (no members) does not open; there is nothing to
// extract from it either way.
TEST(PakRefuses, AnArchiveOfOnlyAnEndRecord) {
  std::vector<uint8_t> empty = Eocd(0, 0, 0, 0, 0, 0);
  ResourcePak pak;
  EXPECT_FALSE(pak.Open(empty.data(), static_cast<int32_t>(empty.size())));
  ByteBuffer bytes;
  EXPECT_EQ(pak.Extract("anything", &bytes), 0);
}

// A recorded size far beyond what the member's compressed bytes can yield is refused
// before a buffer of that size is requested.
TEST(PakRefuses, ForgedSizesWithoutAllocatingThem) {
  std::vector<uint8_t> archive = Fixture("short_deflated.zip");
  // Patch damaged.bin's recorded size in both records to 2 GiB - 1.
  const uint8_t central[] = {'P', 'K', 1, 2};
  const uint8_t local[] = {'P', 'K', 3, 4};
  for (size_t i = 0; i + 46 < archive.size(); ++i) {
    if (std::memcmp(&archive[i], central, 4) == 0 && std::memcmp(&archive[i + 46], "damaged.bin", 11) == 0) {
      archive[i + 24] = 0xFF; archive[i + 25] = 0xFF; archive[i + 26] = 0xFF; archive[i + 27] = 0x7F;
    }
    if (std::memcmp(&archive[i], local, 4) == 0 && std::memcmp(&archive[i + 30], "damaged.bin", 11) == 0) {
      archive[i + 22] = 0xFF; archive[i + 23] = 0xFF; archive[i + 24] = 0xFF; archive[i + 25] = 0x7F;
    }
  }
  ResourcePak pak;
  ASSERT_TRUE(pak.Open(archive.data(), static_cast<int32_t>(archive.size())));
  ASSERT_EQ(pak.Entries()[0].uncompressedSize, 0x7FFFFFFF);
  ByteBuffer bytes;
  EXPECT_EQ(pak.Extract("damaged.bin", &bytes), 0);
  EXPECT_EQ(LastTrace(), "Can't extract file \"_ResourceData:damaged.bin\"");
}

}  // namespace
