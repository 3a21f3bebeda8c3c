#pragma once
// The online catalogue read as a flat list of (key, value) pairs instead of a tree. The key
// is the path of element names from the root joined with dots ("English.ProductsList.Count"),
// the value the text inside that element, unchanged: blanks around it kept, entities not
// decoded. Only nested elements with text are understood (see catalogue/xml_tokenizer.h);
// attributes and empty-element tags make a document fail, since their tags never close.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct XmlPair {
  std::string key;
  std::string value;
};

class XmlPairs {
 public:
  // Bounds that keep any text, however large, within a few MiB and linear time: the
  // catalogue nests five deep and lists a few hundred pairs with keys of some 60 characters.
  static constexpr size_t kMaxDepth = 32;          // elements open at once
  static constexpr size_t kMaxKeyLength = 1023;    // a dotted path, as long as one tag may be
  static constexpr size_t kMaxPairs = 4096;

  // Parses `length` bytes (a file's, a download's) as a text that ends at the first zero
  // byte, or after the last byte when there is none; as Parse otherwise.
  bool ParseBytes(const uint8_t* bytes, size_t length);

  // Replaces the list with the pairs of a zero-terminated text, in document order. True on
  // success; false, with the list empty, for a "<" without ">", a tag inside or text run of
  // more than 1,023 characters, text after the last tag, a closing tag that is not the name
  // of the innermost open element, an element still open at the end, more than kMaxDepth
  // elements open at once, a key longer than kMaxKeyLength, more than kMaxPairs pairs, a
  // null text, or no memory. An empty text, or one of only white space and "<?...?>",
  // parses to no pairs. Time and memory grow no faster than the text and the bounds.
  bool Parse(const char* text);

  // The first pair whose key equals `key`, letters compared without regard to case (ASCII
  // only, whatever the locale; other bytes must match exactly). GetString hands out its value
  // unchanged; GetInt reads it like "%d": leading white space, an optional sign, decimal digits,
  // the rest ignored. A value that doesn't begin with a number gives 0, one beyond the range
  // of int32_t gives the nearest end of it; the lookup still reports true then. Without a
  // matching key: false, and the destination is left alone. A lookup takes constant time
  // on average: the keys are indexed as they are parsed.
  bool GetInt(std::string_view key, int32_t* value) const;
  bool GetString(std::string_view key, std::string* value) const;

  const std::vector<XmlPair>& pairs() const { return pairs_; }

 private:
  const XmlPair* Find(std::string_view key) const;
  bool ParseInto(const char* text);

  std::vector<XmlPair> pairs_;
  std::unordered_map<std::string, size_t> first_;  // key in lower case -> its first pair
};
