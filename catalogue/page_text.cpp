#include "catalogue/page_text.h"

#include "base/ascii.h"

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
