#include "catalogue/xml_tokenizer.h"

#include "base/ascii.h"

namespace {

// The white space of "%d" and isspace in the "C" locale, whatever locale the program runs in.

const char* SkipBlanks(const char* p) {
  while (ascii::IsBlank(*p)) ++p;
  return p;
}

// Length of the run from `p` up to the first `stop` or zero, counting no further than one past
// kMaxLength, so a run that is too long is refused without walking the rest of it.
size_t RunLength(const char* p, char stop) {
  size_t n = 0;
  while (n <= XmlTokenizer::kMaxLength && p[n] != stop && p[n] != '\0') ++n;
  return n;
}

}  // namespace

XmlToken XmlTokenizer::Next(std::string* value) {
  value->clear();
  const char* start = cursor_;
  const char* p = SkipBlanks(start);
  if (*p == '\0') {
    cursor_ = p;
    return XmlToken::End;
  }

  if (*p != '<') {
    // Text starts where the cursor stood: its leading blanks belong to it.
    const size_t n = RunLength(start, '<');
    if (n > kMaxLength || start[n] != '<') return XmlToken::Error;
    value->assign(start, n);
    cursor_ = start + n;  // stays on the "<"
    return XmlToken::Text;
  }

  p = SkipBlanks(p + 1);
  if (*p == '\0') {
    cursor_ = p;
    return XmlToken::End;
  }
  const size_t n = RunLength(p, '>');
  if (n > kMaxLength || p[n] != '>') return XmlToken::Error;
  cursor_ = p + n + 1;
  if (p[0] == '/') {
    value->assign(p + 1, n - 1);
    return XmlToken::Close;
  }
  if (p[0] == '?' && p[n - 1] == '?') return XmlToken::Open;  // "<?xml ...?>": empty name
  value->assign(p, n);
  return XmlToken::Open;
}
