#pragma once
// Splits the catalogue's XML text into tags and text runs, nothing more: no attributes,
// entities, comments or CDATA. The text is zero-terminated; the cursor never passes its zero.
#include <cstddef>
#include <string>

enum class XmlToken { End, Open, Close, Text, Error };

class XmlTokenizer {
 public:
  // Longest tag inside (between "<" and ">") and longest text run, in characters.
  static constexpr size_t kMaxLength = 1023;

  explicit XmlTokenizer(const char* text) : cursor_(text) {}

  // The next token; `value` receives the tag name (Open, Close) or the text (Text).
  //  - End: only white space is left, or a "<" followed by nothing but white space.
  //  - Open: "<name>"; white space after the "<" is skipped, the rest up to ">" is the name,
  //    attributes and trailing blanks included. "<?...?>" opens with an empty name.
  //  - Close: "</name>".
  //  - Text: everything up to the next "<", its leading and trailing white space included;
  //    white space alone before a "<" is skipped instead.
  //  - Error: a "<" without ">", a text that the end cuts off before a "<", or a tag inside
  //    or text longer than kMaxLength. Stays at the error.
  XmlToken Next(std::string* value);

 private:
  const char* cursor_;
};
