// Reading the star list: the line count rule, the four fields of a line, the class letters,
// and lines that do not hold a star. Every text lives in a heap buffer of exactly its
// length with no terminating zero, as the archive hands it out, so a read past its end
// lands outside the allocation where the address sanitizer sees it.
#include "scene/star_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The text's bytes in an allocation of exactly their length.
class ExactText {
 public:
  explicit ExactText(const std::string& text) : size_(text.size()), bytes_(new char[text.size() ? text.size() : 1]) {
    if (size_) std::memcpy(bytes_.get(), text.data(), size_);
  }
  const char* data() const { return bytes_.get(); }
  size_t size() const { return size_; }

 private:
  size_t size_;
  std::unique_ptr<char[]> bytes_;
};

std::vector<StarRecord> Parse(const std::string& text) {
  const ExactText exact(text);
  const int32_t lines = CountStarLines(exact.data(), exact.size());
  std::vector<StarRecord> records(static_cast<size_t>(lines) + 1);
  records.resize(static_cast<size_t>(ParseStarList(exact.data(), exact.size(), records.data(), lines)));
  return records;
}

TEST(StarList, ExampleLineGivesItsFieldsAndClass) {
  const std::vector<StarRecord> stars = Parse("6.70;0.35;25.12;A\r\n");
  ASSERT_EQ(stars.size(), 1u);
  EXPECT_DOUBLE_EQ(stars[0].magnitude, 6.70);
  EXPECT_DOUBLE_EQ(stars[0].rightAscension, 0.35);
  EXPECT_DOUBLE_EQ(stars[0].declination, 25.12);
  EXPECT_EQ(stars[0].colourClass, 2) << "class A";

  const std::vector<StarRecord> brightest = Parse("-1.46;28.13;-9.28;A\r\n");
  ASSERT_EQ(brightest.size(), 1u);
  EXPECT_DOUBLE_EQ(brightest[0].magnitude, -1.46);
  EXPECT_DOUBLE_EQ(brightest[0].declination, -9.28) << "negative declinations keep their sign";
}

TEST(StarList, ClassLettersMapToTheirIndexAndEverythingElseToF) {
  const std::string letters = "OBAFGKM";
  for (size_t i = 0; i < letters.size(); ++i)
    EXPECT_EQ(StarColourClass(letters[i]), static_cast<int8_t>(i)) << "letter " << letters[i];
  for (char other : {'X', 'a', 'o', 'm', ' ', '\t', '9', '\xC4'})
    EXPECT_EQ(StarColourClass(other), 3) << "character code " << static_cast<int>(static_cast<unsigned char>(other));

  const std::vector<StarRecord> stars = Parse("1;2;3;F\n1;2;3;X\n1;2;3;a\n1;2;3;M\n");
  ASSERT_EQ(stars.size(), 4u);
  EXPECT_EQ(stars[0].colourClass, 3);
  EXPECT_EQ(stars[1].colourClass, 3);
  EXPECT_EQ(stars[2].colourClass, 3);
  EXPECT_EQ(stars[3].colourClass, 6);
}

TEST(StarList, LineFeedsCountTheRecordsAndALastLineWithoutOneIsNotRead) {
  EXPECT_EQ(CountStarLines("", 0), 0);
  EXPECT_EQ(Parse("1;2;3;A\r\n2;3;4;B\r\n").size(), 2u);
  EXPECT_EQ(Parse("1;2;3;A\r\n2;3;4;B").size(), 1u) << "the unterminated last line is not a record";
  EXPECT_EQ(Parse("1;2;3;A\r\n2;3;4;B\r").size(), 1u) << "a CR alone does not end a line";
  EXPECT_EQ(Parse("1;2;3;A\n2;3;4;B\n").size(), 2u) << "bare line feeds end lines as well";

  const ExactText text("1;2;3;A\n\n2;3;4;B\n");
  EXPECT_EQ(CountStarLines(text.data(), text.size()), 3) << "a blank line is still a line";
}

TEST(StarList, ReadsNoMoreLinesThanItHasRoomFor) {
  const ExactText text("1;2;3;A\n4;5;6;B\n7;8;9;G\n");
  StarRecord records[2] = {};
  EXPECT_EQ(ParseStarList(text.data(), text.size(), records, 2), 2);
  EXPECT_DOUBLE_EQ(records[1].magnitude, 4.0);
  EXPECT_EQ(ParseStarList(text.data(), text.size(), records, 0), 0);
}

TEST(StarList, MalformedLinesAreSkippedAndTheOthersKeepTheirOrder) {
  const std::vector<StarRecord> stars = Parse(
      "1.0;10;20;O\r\n"
      "\r\n"                  // blank
      "\n"                    // blank without CR
      "2.0;11\r\n"            // fields missing
      "3.0;12;22;\r\n"        // class letter missing: the CR is not a class
      "4.0;12;22\r\n"         // third separator missing
      "x;1;2;A\r\n"           // not a number
      "nan;1;2;A\r\n"         // not finite
      "5.0;inf;2;A\r\n"       // not finite
      "6.0 ;13;23;B\r\n"      // a space before the separator breaks the format
      "  7.0;14;24;K\r\n");   // leading blanks are what the format skips
  ASSERT_EQ(stars.size(), 2u);
  EXPECT_DOUBLE_EQ(stars[0].magnitude, 1.0);
  EXPECT_EQ(stars[0].colourClass, 0);
  EXPECT_DOUBLE_EQ(stars[1].magnitude, 7.0);
  EXPECT_DOUBLE_EQ(stars[1].declination, 24.0);
  EXPECT_EQ(stars[1].colourClass, 5);
}

TEST(StarList, NeverReadsPastTheEndOfTheText) {
  // Texts whose end falls inside a number, right after a separator, or after a long run of
  // digits: the parser must stop at the size, with or without a preceding record.
  const std::vector<std::string> texts = {
      "6.70",
      "6.70;0.35;25.12;",
      "6.70;0.35;25.12;A",
      "1;2;3;A\r\n4.5",
      "1;2;3;A\r\n4.5;1;2;",
      "1;2;3;A\r\n" + std::string(4000, '7'),
      std::string(3000, ' '),
      "\r",
      ";;;",
      std::string("1;2;3;A\n\0\0\0", 11),
      std::string("1;2;3;\0\n5;6;7;G\n", 16),
  };
  for (const std::string& text : texts) {
    const std::vector<StarRecord> stars = Parse(text);
    EXPECT_LE(stars.size(), 1u) << "text of " << text.size() << " bytes";
  }
  const std::vector<StarRecord> nul = Parse(std::string("1;2;3;\0\n5;6;7;G\n", 16));
  ASSERT_EQ(nul.size(), 1u) << "a zero byte ends that line's fields, not the text";
  EXPECT_DOUBLE_EQ(nul[0].magnitude, 5.0);
}

}  // namespace
