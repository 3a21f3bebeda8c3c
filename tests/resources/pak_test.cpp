// The archive: archives written by real tools, the lookup rules, damaged members and the
// traces of every failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_pak.h"
#include "resources/trace.h"
#include "tests/resources/fixture_files.h"

namespace {

using fixtures::Fixture;

const std::string kHello = "Hello, archive\r\nsecond line\r\n";

std::string Repeat() {  // make_fixtures.py's REPEAT: 1700 rows of 42 bytes
  std::string text(1700 * 42 + 1, '\0');
  for (int i = 0; i < 1700; ++i) std::snprintf(&text[i * 42], 43, "row %05d of a long and repetitive member\n", i);
  text.pop_back();
  return text;
}

std::string AsText(const uint8_t* bytes, int32_t length) {
  return length > 0 ? std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)) : "";
}

bool OpenBytes(ResourcePak& pak, const std::vector<uint8_t>& bytes) {
  return pak.Open(bytes.data(), static_cast<int32_t>(bytes.size()));
}

class ToolArchive : public ::testing::TestWithParam<const char*> {};

// Every writer's archive holds the same five members (see make_fixtures.py).
TEST_P(ToolArchive, HandsOutEveryMemberByNameInAnyLetterCase) {
  const std::string archive = std::string(GetParam()) + ".zip";
  const std::vector<uint8_t> bytes = Fixture(archive);
  ResourcePak pak;
  ASSERT_TRUE(OpenBytes(pak, bytes)) << archive << ": " << pak.LastResult().reason();
  EXPECT_EQ(pak.EntryCount(), 5) << archive;
  const std::vector<std::pair<const char*, std::string>> members = {
      {"HELLO.txt", kHello}, {"Data/Stars.DAT", "0 0 1.5 A0\r\n1 1 2.5 G2\r\n"}, {"repeat.bin", Repeat()}};
  for (const auto& [name, expected] : members) {
    ByteBuffer member;
    const int32_t length = pak.Extract(name, &member);
    EXPECT_EQ(AsText(member.get(), length), expected) << archive << ":" << name << " " << pak.LastResult().reason();
  }
  ByteBuffer noise, flare;  // the first 700 bytes of noise.raw are Flare1.jpg
  ASSERT_EQ(pak.Extract("noise.raw", &noise), 5000) << archive;
  ASSERT_EQ(pak.Extract("fLaRe1.JpG", &flare), 700) << archive;
  EXPECT_EQ(std::memcmp(noise.get(), flare.get(), 700), 0) << archive;
  // A path prefix is part of the name.
  EXPECT_EQ(pak.Extract("stars.dat", &flare), 0) << archive;
  EXPECT_EQ(flare, nullptr) << archive;
  EXPECT_EQ(pak.LastResult().reason(), "File \"_ResourceData:stars.dat\" not found") << archive;
}

INSTANTIATE_TEST_SUITE_P(Writers, ToolArchive,
                         ::testing::Values("infozip", "cmake", "py_stored", "py_deflated", "py_comment",
                                           "py_descriptors", "py_prefixed"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

// Extractions in order from one pak per archive; a failed one yields length 0, no buffer and
// the extraction trace, and leaves the next member readable.
TEST(Pak, ExtractsWhatIsIntactAndRefusesWhatIsNot) {
  struct Case {
    const char* archive;
    const char* member;
    int32_t length;
    std::string text;  // checked when not empty
  };
  const std::vector<Case> cases = {
      {"case_twins.zip", "twin.TXT", 11, "upper first"},  // of two names differing in case, the earlier
      {"short_stored.zip", "damaged.bin", 0, ""},         // ends before its recorded size
      {"short_stored.zip", "intact.txt", 29, ""},
      {"short_deflated.zip", "damaged.bin", 0, ""},
      {"short_deflated.zip", "intact.txt", 29, ""},
      {"bad_crc.zip", "damaged.bin", 20000, Repeat().substr(0, 20000)},  // a wrong CRC-32 is not checked
      {"encrypted.zip", "hello.txt", 0, ""},  // stored cipher text must not pass as the member
      {"encrypted.zip", "repeat.bin", 0, ""},
      {"empty_member.zip", "empty.txt", 0, ""},
      // The directory claims 65000 records and holds 3; the unlisted ones have no name.
      {"overcounted.zip", "TWIN.txt", 11, "upper first"},
      {"overcounted.zip", "", 0, ""},
  };
  std::string opened;
  std::vector<uint8_t> bytes;
  ResourcePak pak;
  for (const Case& c : cases) {
    const std::string where = std::string(c.archive) + ":" + c.member;
    if (opened != c.archive) {
      pak.Close();  // before its bytes go
      bytes = Fixture(c.archive);
      ASSERT_TRUE(OpenBytes(pak, bytes)) << c.archive << ": " << pak.LastResult().reason();
      opened = c.archive;
    }
    ByteBuffer member;
    const int32_t length = pak.Extract(c.member, &member);
    EXPECT_EQ(length, c.length) << where << " " << pak.LastResult().reason();
    if (!c.text.empty()) {
      EXPECT_EQ(AsText(member.get(), length), c.text) << where;
    }
    if (c.length == 0) {
      EXPECT_EQ(member, nullptr) << where;
      if (*c.member != '\0') {
        EXPECT_EQ(pak.LastResult().reason(), "Can't extract file \"_ResourceData:" + std::string(c.member) + "\"");
      }
    }
  }
}

// A missing resource identifier, and a pak after Close (paks reopen in the test above); two
// paks over one buffer keep their own cursors, and a member's raw buffer is exactly its bytes
// (no terminator) and stays the caller's after the pak is closed.
TEST(Pak, MissingResourceClosedPakAndBufferOwnership) {
  ResourcePak first, second;
  EXPECT_FALSE(first.Open(4711));
  EXPECT_EQ(first.LastResult().reason(), "Can't open file \"_ResourceData\"");
  first.Close();
  ByteBuffer a;
  EXPECT_EQ(first.Extract("hello.txt", &a), 0);
  EXPECT_EQ(first.LastResult().reason(), "File \"_ResourceData:hello.txt\" not found");

  const std::vector<uint8_t> archive = Fixture("py_deflated.zip");
  ASSERT_TRUE(OpenBytes(first, archive));
  ASSERT_TRUE(OpenBytes(second, archive));
  uint8_t* raw = nullptr;
  EXPECT_EQ(first.Extract("repeat.bin", &a), 71400);
  ASSERT_EQ(second.Extract("hello.txt", &raw), 29);
  EXPECT_EQ(first.Extract("noise.raw", &a), 5000);
  second.Close();
  EXPECT_EQ(second.Extract("hello.txt", &a), 0) << "a closed pak hands out nothing";
  EXPECT_EQ(AsText(raw, 29), kHello);
  std::free(raw);
}

// An end-of-central-directory record alone, claiming `entries` members in a directory of
// `directorySize` bytes at offset 0.
std::vector<uint8_t> EndRecord(uint8_t entries, uint8_t directorySize) {
  return {'P', 'K', 5, 6, 0, 0, 0, 0, entries, 0, entries, 0, directorySize, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

// Buffers that are no archive the reader can open, each handed over in a buffer of its exact
// length.
TEST(Pak, RefusesWhatItCannotRead) {
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"nothing", {}},
      {"text", {'n', 'o', 't', ' ', 'a', ' ', 'z', 'i', 'p'}},
      {"an end record cut short", {'P', 'K', 5, 6, 0, 0}},
      {"only an end record, no members", EndRecord(0, 0)},
      {"directory beyond the data", EndRecord(1, 46)},
      {"archive cut before its end record", fixtures::Prefix(Fixture("py_deflated.zip"), 4000)},
  };
  for (const auto& [what, bytes] : cases) {
    ResourcePak pak;
    EXPECT_FALSE(OpenBytes(pak, fixtures::Prefix(bytes))) << what;
    EXPECT_EQ(pak.LastResult().reason(), "Can't open file \"_ResourceData\"") << what;
    EXPECT_FALSE(pak.IsOpen()) << what;
  }
  ResourcePak pak;
  EXPECT_FALSE(pak.Open(nullptr, 100)) << "a null buffer is not resource 0";
}

}  // namespace
