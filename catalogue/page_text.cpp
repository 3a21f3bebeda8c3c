#include "catalogue/page_text.h"

#include "base/ascii.h"

namespace {


}  // namespace

std::array<std::string, 3> SplitDescription(std::string_view text) {
  std::array<std::string, 3> lines;
  size_t at = 0;
  for (size_t n = 0; n < lines.size() && at < text.size(); ++n) {
    if (n > 0)
      while (at < text.size() && ascii::IsBlank(text[at])) ++at;
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines[n] = std::string(line.substr(0, kMaxDescriptionLine));
    at = end < text.size() ? end + 1 : end;
  }
  return lines;
}

bool IsWebAddress(std::string_view address) {
  size_t scheme = 0;
  if (ascii::StartsWithNoCase(address, "http://")) scheme = 7;
  else if (ascii::StartsWithNoCase(address, "https://")) scheme = 8;
  else return false;
  // A host must follow; control characters never belong in an address.
  if (address.size() == scheme || address[scheme] == '/' || address[scheme] == '\\') return false;
  for (char c : address)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}
