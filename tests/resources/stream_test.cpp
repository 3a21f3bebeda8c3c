// The read-only stream under the ZIP reader: the seek and read rules, and what it opens.
#include <gtest/gtest.h>

#include <vector>

#include "resources/resource_stream.h"

namespace {

constexpr int32_t kSize = 10;
const uint8_t kBytes[kSize] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

struct SeekCase {
  const char* what;
  int32_t start;
  int64_t offset;
  int origin;
  int32_t expectedPosition;  // the start again when the seek must fail
};

class StreamSeek : public ::testing::TestWithParam<SeekCase> {};

TEST_P(StreamSeek, MovesOrFailsAndStays) {
  const SeekCase& c = GetParam();
  auto stream = ResourceStream::OpenBytes(kBytes, kSize, "rb");
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(stream->Seek(c.start, 0), 0);
  EXPECT_EQ(stream->Seek(c.offset, c.origin), c.expectedPosition == c.start ? -1 : 0) << c.what;
  EXPECT_EQ(stream->Tell(), c.expectedPosition) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StreamSeek,
    ::testing::Values(SeekCase{"set to size", 2, kSize, 0, kSize}, SeekCase{"set past size", 2, kSize + 1, 0, 2},
                      SeekCase{"set to -1", 2, -1, 0, 2}, SeekCase{"back 2", 5, -2, 1, 3},
                      SeekCase{"back past start", 1, -2, 1, 1}, SeekCase{"forward past end", 8, 3, 1, 8},
                      SeekCase{"end, back 3", 2, 3, 2, 7}, SeekCase{"end, back past start", 2, kSize + 1, 2, 2},
                      SeekCase{"end, beyond the end", 2, -1, 2, 2}, SeekCase{"origin 3", 2, 0, 3, 2}));

struct ReadCase {
  const char* what;
  int32_t start;
  size_t elementSize;
  size_t count;
  size_t expectedElements;
};

class StreamRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StreamRead, CopiesWholeElementsFromTheCursor) {
  const ReadCase& c = GetParam();
  auto stream = ResourceStream::OpenBytes(kBytes, kSize, "rb");
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(stream->Seek(c.start, 0), 0);
  std::vector<uint8_t> destination(64, 0xEE);
  EXPECT_EQ(stream->Read(destination.data(), c.elementSize, c.count), c.expectedElements) << c.what;
  const size_t copied = c.expectedElements * c.elementSize;
  EXPECT_EQ(stream->Tell(), c.start + static_cast<int32_t>(copied)) << c.what;
  const std::vector<uint8_t> expected(kBytes + c.start, kBytes + c.start + copied);
  EXPECT_EQ(std::vector<uint8_t>(destination.begin(), destination.begin() + static_cast<long>(copied)), expected)
      << c.what;
  EXPECT_EQ(destination[copied], 0xEE) << c.what << ": wrote past the elements it reported";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StreamRead,
    ::testing::Values(ReadCase{"6 left, 4-byte elements", 4, 4, 2, 1}, ReadCase{"more than there is", 3, 1, 100, 7},
                      ReadCase{"element bigger than the rest", 7, 4, 1, 0},
                      ReadCase{"at the end", kSize, 1, 5, 0}, ReadCase{"zero element size", 2, 0, 4, 0},
                      ReadCase{"count that overflows the product", 1, 3, SIZE_MAX / 2, 3}));

TEST(Stream, OpensOnlyPositiveSizedBytesForReadingBinary) {
  for (const char* mode : {"r", "rb+", "wb", "RB", "", "rb ", static_cast<const char*>(nullptr)}) {
    EXPECT_EQ(ResourceStream::OpenBytes(kBytes, kSize, mode), nullptr) << "mode " << (mode ? mode : "(null)");
  }
  EXPECT_EQ(ResourceStream::OpenBytes(kBytes, 0, "rb"), nullptr);
  EXPECT_EQ(ResourceStream::OpenBytes(kBytes, -5, "rb"), nullptr);
  EXPECT_EQ(ResourceStream::OpenBytes(nullptr, 4, "rb"), nullptr);
}

}  // namespace
