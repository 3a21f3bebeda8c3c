// The flat XML reader: which texts it accepts and the pairs they give, lookups, files read
// whole within a bound and parsed from their bytes, and documents written by a real XML
// library (fixtures/, from make_fixtures.py).
// Texts are parsed from heap copies of exactly their length and zero, so a read past the
// zero lands outside the allocation where the address sanitizer sees it.
#include "catalogue/xml_pairs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/bounded_file.h"

namespace {

constexpr size_t kBound = size_t{1} << 20;

// A document as the catalogue's cache reads it: the whole file within the bound, then its bytes.
bool Load(XmlPairs& xml, const std::string& path) {
  std::vector<uint8_t> bytes;
  return ReadFileUpTo(path, kBound, &bytes) && xml.ParseBytes(bytes.data(), bytes.size());
}

// The pairs as "key=value|key=value", or "refused". The reader held a pair before, so a
// refusal that leaves anything behind shows up too.
std::string Pairs(const std::string& text) {
  const std::unique_ptr<char[]> exact(new char[text.size() + 1]);
  std::memcpy(exact.get(), text.c_str(), text.size() + 1);
  XmlPairs xml;
  EXPECT_TRUE(xml.Parse("<old>pair</old>"));
  const bool parsed = xml.Parse(exact.get());
  std::string out = parsed ? "" : "refused";
  for (const XmlPair& pair : xml.pairs()) out += (out.empty() ? "" : "|") + pair.key + "=" + pair.value;
  return out;
}

std::string Get(const XmlPairs& xml, const char* key) {
  std::string value = "(missing)";
  xml.GetString(key, &value);
  return value;
}

TEST(XmlPairs, AcceptsNestedElementsWithTextAndRefusesEverythingElse) {
  const std::string name1022(1022, 'n'), name1023(1023, 'n'), text1023(1023, 't');
  const struct {
    std::string text, pairs;
  } cases[] = {
      {"<?xml version=\"1.0\"?>\n<a><b>1</b></a>\n", "a.b=1"},
      {"<a> x </a>", "a= x "},                                    // blanks around text are kept
      {"<a>\r\n\t<b>1</b>\v\f <b>2</b>\n</a>", "a.b=1|a.b=2"},   // blanks between tags are no text
      {"<a>x<b>y</b>z</a>", "a=x|a.b=y|a=z"},                     // mixed text under its element's key
      {"t<a></a>", "=t"},
      {"<  a >1</a >", "a =1"},                                   // blanks after "<" skipped, others kept
      {"<a.b>1</a.b>", "a.b=1"},
      {"", ""}, {" \r\n", ""}, {"<?x?>", ""}, {"<a></a>\n< \n", ""},  // a last "<" alone ends the text
      {"<a>" + text1023 + "</a>", "a=" + text1023},
      {"<" + name1022 + ">x</" + name1022 + ">", name1022 + "=x"},
      {"<a>" + text1023 + "t</a>", "refused"},                    // text of 1,024
      {"<a> " + text1023 + "</a>", "refused"},                    // its leading blank counts
      {"<" + name1023 + ">x</" + name1023 + ">", "refused"},      // "/" makes the closing tag 1,024
      {"<a><b/></a>", "refused"}, {"<a id=\"1\">x</a>", "refused"}, {"<a><!-- c --></a>", "refused"},
      {"<a>1</b>", "refused"}, {"<ab></b></a>", "refused"}, {"<a><b></a></b>", "refused"},
      {"</a>", "refused"}, {"<a></>", "refused"}, {"<a>", "refused"}, {"<a>1</a>x", "refused"},
      {"<a", "refused"}, {"<a>1", "refused"}, {"<a>1</a", "refused"}, {"<a>1</a> <a", "refused"},
  };
  for (const auto& c : cases) EXPECT_EQ(Pairs(c.text), c.pairs) << "text: " << c.text.substr(0, 40);
}

TEST(XmlPairs, LookupsIgnoreAsciiCaseTakeTheFirstPairAndReadIntegersLikePercentD) {
  XmlPairs xml;
  ASSERT_TRUE(xml.Parse("<E><List><Count> 12 </Count><Count>7</Count><Signed>-17x</Signed><Word>many</Word>"
                        "<Big>99999999999999999999999</Big><Low>-2147483648</Low>"
                        "<\xC3\x89t\xC3\xA9>+5</\xC3\x89t\xC3\xA9></List></E>"));
  EXPECT_EQ(Get(xml, "e.LIST.count"), " 12 ");
  const struct {
    const char* key;
    int32_t value;
  } numbers[] = {{"e.list.count", 12}, {"E.List.Signed", -17}, {"E.List.Word", 0}, {"E.List.Big", 2147483647},
                 {"E.List.Low", -2147483647 - 1}, {"e.list.\xC3\x89t\xC3\xA9", 5}};
  for (const auto& n : numbers) {
    int32_t value = -1;
    EXPECT_TRUE(xml.GetInt(n.key, &value) && value == n.value) << n.key << " gave " << value;
  }
  int32_t untouched = 42;
  EXPECT_FALSE(xml.GetInt("E.List.\xC3\xA9t\xC3\xA9", &untouched)) << "only A-Z fold";
  EXPECT_FALSE(xml.GetInt("E.List", &untouched) || xml.GetInt("E.List.Count.", &untouched));
  EXPECT_EQ(untouched, 42);
}

// Documents built to cost the most: each is refused, or read, within the reader's bounds
// (an unbounded reader asks for terabytes on the first and takes minutes on the others).
TEST(XmlPairs, WorstCaseDocumentsStayWithinTheBounds) {
  std::string deep;  // 8 MiB of nested elements, then text runs under the deepest one
  for (size_t i = 0; i < (size_t{8} << 20) / 3; ++i) deep += "<a>";
  for (int i = 0; i < 100000; ++i) deep += "x<b></b>";
  EXPECT_EQ(Pairs(deep), "refused");

  std::string wide = "<r>";  // 1 MiB of text runs
  while (wide.size() < (size_t{1} << 20)) wide += "<i>1</i>";
  EXPECT_EQ(Pairs(wide + "</r>"), "refused");

  const auto Nested = [](size_t depth) {
    std::string open, close;
    for (size_t i = 0; i < depth; ++i) {
      open += "<e" + std::to_string(i) + ">";
      close = "</e" + std::to_string(i) + ">" + close;
    }
    return open + "v" + close;
  };
  EXPECT_EQ(Pairs(Nested(XmlPairs::kMaxDepth)).substr(0, 6), "e0.e1.");
  EXPECT_EQ(Pairs(Nested(XmlPairs::kMaxDepth + 1)), "refused");

  // A key of exactly the longest length, then one character more.
  const std::string half(511, 'k'), rest(511, 'm');
  EXPECT_EQ(Pairs("<" + half + "><" + rest + ">v</" + rest + "></" + half + ">"), half + "." + rest + "=v");
  EXPECT_EQ(Pairs("<" + half + "><" + rest + "m>v</" + rest + "m></" + half + ">"), "refused");

  const auto Items = [](size_t count) {
    std::string items = "<r>";
    for (size_t i = 0; i < count; ++i) items += "<i>" + std::to_string(i) + "</i>";
    return items + "</r>";
  };
  XmlPairs xml;
  ASSERT_TRUE(xml.Parse(Items(XmlPairs::kMaxPairs).c_str()));
  EXPECT_EQ(xml.pairs().size(), XmlPairs::kMaxPairs);
  EXPECT_EQ(Get(xml, "R.I"), "0") << "the first of many pairs of one key";
  EXPECT_EQ(Pairs(Items(XmlPairs::kMaxPairs + 1)), "refused");
}

TEST(XmlPairs, ReadsFilesOfAnySizeAndWhatARealXmlLibraryWrites) {
  const std::string path = testing::TempDir() + "xml_pairs_test.xml";
  // Sizes around the reader's 4096-byte pieces: a piece lost at the end would leave "<r>" open.
  for (const size_t size : {0u, 255u, 4095u, 4096u, 4097u, 8192u, 8193u, 9000u}) {
    const size_t items = size < 7 ? 0 : (size - 7) / 16;
    std::string document = size < 7 ? "" : "<r>";
    for (size_t i = 0; i < items; ++i) document += "<i>123456789</i>";
    if (size >= 7) document += std::string((size - 7) % 16, ' ') + "</r>";
    std::ofstream(path, std::ios::binary) << document;
    XmlPairs xml;
    EXPECT_TRUE(Load(xml, path) && xml.pairs().size() == items) << size << " bytes";
  }
  // Files up to the bound, not beyond.
  for (const size_t size : {kBound, kBound + 1}) {
    std::ofstream(path, std::ios::binary) << std::string(size - 8, ' ') + "<r>1</r>";
    std::vector<uint8_t> bytes;
    const Result<FileReadError> read = ReadFileUpTo(path, kBound, &bytes);
    EXPECT_EQ(read.code(), size == kBound ? FileReadError::None : FileReadError::TooLarge) << size << " bytes";
    EXPECT_EQ(bytes.size(), size == kBound ? size : 0u) << size << " bytes";
  }
  std::ofstream(path, std::ios::binary) << std::string("<a>1</a>\0<b", 11);
  XmlPairs xml;
  EXPECT_TRUE(Load(xml, path) && xml.pairs().size() == 1u) << "a zero byte ends the text";
  std::remove(path.c_str());

  const std::string fixtures = TELLARO_XML_FIXTURES "/";
  for (const char* name : {"catalogue.xml", "no_declaration.xml"}) {
    ASSERT_TRUE(Load(xml, fixtures + name)) << name;
    EXPECT_EQ(xml.pairs().size(), 11u) << name;
    EXPECT_EQ(Get(xml, "English.ProductsList.Product1.Title"), "Mars &amp; Phobos") << "entities stay as written";
    EXPECT_EQ(Get(xml, "English.ProductsList.Product2.Title"), "N\xC3\xA9" "buleuse");
    EXPECT_EQ(Get(xml, "English.ProductsList.Product1.Description.Text"), " Red planet\nwith two moons ");
  }
  for (const std::string& refused : {fixtures + "empty_element.xml", fixtures + "attribute.xml",
                                     fixtures + "missing.xml", fixtures}) {
    EXPECT_FALSE(Load(xml, refused)) << refused;
    EXPECT_TRUE(xml.pairs().empty()) << refused;
  }
  std::vector<uint8_t> bytes;
  EXPECT_EQ(ReadFileUpTo(fixtures + "missing.xml", kBound, &bytes).code(), FileReadError::Unreadable);
  EXPECT_EQ(ReadFileUpTo(fixtures, kBound, &bytes).code(), FileReadError::Unreadable) << "a folder";
}

}  // namespace
