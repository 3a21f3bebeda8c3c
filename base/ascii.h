#pragma once
// Text rules for the plain ASCII the system's names and files use, the same everywhere:
// letter case folds A-Z and a-z only (never by locale), and the blanks are the C locale's
// white space.
#include <string>
#include <string_view>

namespace ascii {

inline constexpr char kBlanks[] = " \t\n\v\f\r";

constexpr bool IsBlank(char c) { return std::string_view(kBlanks).find(c) != std::string_view::npos; }
constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

inline std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = Lower(c);
  return lowered;
}

constexpr bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace ascii
