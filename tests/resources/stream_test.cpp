// The read-only stream under the ZIP reader: the seek and read rules, and the modes it
// accepts.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resources/resource_lookup.h"
#include "resources/resource_stream.h"

namespace {

constexpr int32_t kSize = 10;
const uint8_t kBytes[kSize] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

std::unique_ptr<ResourceStream> OpenTen() { return ResourceStream::OpenBytes(kBytes, kSize, "rb"); }

struct SeekCase {
  const char* what;
  int32_t start;
  int64_t offset;
  int origin;
  int expectedResult;
  int32_t expectedPosition;
};

class StreamSeek : public ::testing::TestWithParam<SeekCase> {};

TEST_P(StreamSeek, MovesOrRefusesAndStays) {
  const SeekCase& c = GetParam();
  auto stream = OpenTen();
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(stream->Seek(c.start, 0), 0);
  EXPECT_EQ(stream->Seek(c.offset, c.origin), c.expectedResult) << c.what;
  EXPECT_EQ(stream->Tell(), c.expectedPosition) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StreamSeek,
    ::testing::Values(SeekCase{"set to 4", 2, 4, 0, 0, 4}, SeekCase{"set to size", 2, kSize, 0, 0, kSize},
                      SeekCase{"set past size", 2, kSize + 1, 0, -1, 2}, SeekCase{"set to -1", 2, -1, 0, -1, 2},
                      SeekCase{"forward 3", 2, 3, 1, 0, 5}, SeekCase{"back 2", 5, -2, 1, 0, 3},
                      SeekCase{"back past start", 1, -2, 1, -1, 1}, SeekCase{"forward past end", 8, 3, 1, -1, 8},
                      SeekCase{"end, offset 0", 2, 0, 2, 0, kSize}, SeekCase{"end, back 3", 2, 3, 2, 0, 7},
                      SeekCase{"end, back past start", 2, kSize + 1, 2, -1, 2},
                      SeekCase{"end, beyond the end", 2, -1, 2, -1, 2}, SeekCase{"origin 3", 2, 0, 3, -1, 2},
                      SeekCase{"origin -1", 2, 0, -1, -1, 2}));

struct ReadCase {
  const char* what;
  int32_t start;
  size_t elementSize;
  size_t count;
  size_t expectedElements;
  int32_t expectedPosition;
};

class StreamRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StreamRead, CopiesWholeElementsFromTheCursor) {
  const ReadCase& c = GetParam();
  auto stream = OpenTen();
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(stream->Seek(c.start, 0), 0);
  std::vector<uint8_t> destination(64, 0xEE);
  EXPECT_EQ(stream->Read(destination.data(), c.elementSize, c.count), c.expectedElements) << c.what;
  EXPECT_EQ(stream->Tell(), c.expectedPosition) << c.what;
  const size_t copied = c.expectedElements * c.elementSize;
  for (size_t i = 0; i < copied; ++i) {
    EXPECT_EQ(destination[i], kBytes[static_cast<size_t>(c.start) + i]) << c.what << ", byte " << i;
  }
  EXPECT_EQ(destination[copied], 0xEE) << c.what << ": wrote past the elements it reported";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StreamRead,
    ::testing::Values(ReadCase{"6 bytes left, 4-byte elements", 4, 4, 2, 1, 8},
                      ReadCase{"all in one", 0, 1, kSize, kSize, kSize},
                      ReadCase{"more than there is", 3, 1, 100, 7, kSize},
                      ReadCase{"element bigger than the rest", 7, 4, 1, 0, 7},
                      ReadCase{"at the end", kSize, 1, 5, 0, kSize},
                      ReadCase{"zero count", 2, 4, 0, 0, 2}, ReadCase{"zero element size", 2, 0, 4, 0, 2},
                      ReadCase{"count that overflows the product", 1, 3, SIZE_MAX / 2, 3, 10}));

TEST(Stream, OpensOnlyForReadingBinary) {
  EXPECT_NE(ResourceStream::OpenBytes(kBytes, kSize, "rb"), nullptr);
  for (const char* mode : {"r", "rb+", "wb", "RB", "", "rb "}) {
    EXPECT_EQ(ResourceStream::OpenBytes(kBytes, kSize, mode), nullptr) << "mode \"" << mode << "\"";
  }
  EXPECT_EQ(ResourceStream::OpenBytes(kBytes, kSize, nullptr), nullptr);
}

TEST(Stream, RefusesEmptyOrMissingBytes) {
  EXPECT_EQ(ResourceStream::OpenBytes(kBytes, 0, "rb"), nullptr);
  EXPECT_EQ(ResourceStream::OpenBytes(kBytes, -5, "rb"), nullptr);
  EXPECT_EQ(ResourceStream::OpenBytes(nullptr, 4, "rb"), nullptr);
}

TEST(Stream, StartsAtZeroWithoutErrorState) {
  auto stream = OpenTen();
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Tell(), 0);
  EXPECT_EQ(stream->Error(), 0);
  EXPECT_EQ(stream->Seek(100, 0), -1);
  EXPECT_EQ(stream->Error(), 0);
}

#if !defined(_WIN32)
TEST(Stream, ThisBuildHasNoProgramResources) {
  EXPECT_EQ(ResourceStream::Open(kArchiveResourceId, "rb"), nullptr);
}
#endif

}  // namespace
