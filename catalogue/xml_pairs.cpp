#include "catalogue/xml_pairs.h"

#include <algorithm>
#include <limits>
#include <new>

#include "base/ascii.h"
#include "catalogue/xml_tokenizer.h"

namespace {

// "%d" without its undefined behaviour for numbers out of range: those saturate.
int32_t ReadDecimal(const char* p) {
  while (ascii::IsBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) magnitude = limit;  // stays far below int64_t's end
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

bool XmlPairs::ParseBytes(const uint8_t* bytes, size_t length) {
  std::string text;
  try {
    const auto* begin = reinterpret_cast<const char*>(bytes);
    text.assign(begin, length > 0 ? std::find(begin, begin + length, '\0') : begin);
  } catch (const std::bad_alloc&) {
    pairs_.clear();
    first_.clear();
    return false;
  }
  return Parse(text.c_str());
}

bool XmlPairs::Parse(const char* text) {
  bool parsed = false;
  try {
    parsed = text && ParseInto(text);
  } catch (const std::bad_alloc&) {
    parsed = false;
  }
  if (!parsed) {
    pairs_.clear();
    first_.clear();
  }
  return parsed;
}

bool XmlPairs::ParseInto(const char* text) {
  pairs_.clear();
  first_.clear();
  XmlTokenizer tokens(text);
  std::string path;
  // Where each open element's name starts in `path`: a closing tag has to match the
  // innermost name whole, not merely a tail of the path ("</b>" must not close "<ab>").
  std::vector<size_t> starts;
  std::string value;
  for (;;) {
    switch (tokens.Next(&value)) {
      case XmlToken::Open:
        if (value.empty()) break;  // "<?xml ...?>" and other processing instructions
        if (starts.size() == kMaxDepth) return false;
        starts.push_back(path.empty() ? 0 : path.size() + 1);
        if (starts.back() + value.size() > kMaxKeyLength) return false;
        if (!path.empty()) path += '.';
        path += value;
        break;
      case XmlToken::Close:
        if (starts.empty() || path.compare(starts.back(), std::string::npos, value) != 0) return false;
        path.resize(starts.back() ? starts.back() - 1 : 0);
        starts.pop_back();
        break;
      case XmlToken::Text:
        if (pairs_.size() == kMaxPairs) return false;
        first_.emplace(ascii::Lowered(path), pairs_.size());  // an earlier pair of the key stays
        pairs_.push_back(XmlPair{path, value});
        break;
      case XmlToken::End:
        return starts.empty();
      case XmlToken::Error:
        return false;
    }
  }
}

const XmlPair* XmlPairs::Find(std::string_view key) const {
  if (key.size() > kMaxKeyLength) return nullptr;
  const auto found = first_.find(ascii::Lowered(key));
  return found == first_.end() ? nullptr : &pairs_[found->second];
}

bool XmlPairs::GetInt(std::string_view key, int32_t* value) const {
  const XmlPair* pair = Find(key);
  if (!pair) return false;
  *value = ReadDecimal(pair->value.c_str());
  return true;
}

bool XmlPairs::GetString(std::string_view key, std::string* value) const {
  const XmlPair* pair = Find(key);
  if (!pair) return false;
  try {
    *value = pair->value;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}
