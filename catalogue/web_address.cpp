#include "catalogue/web_address.h"

#include "base/ascii.h"

namespace {

constexpr std::string_view kScheme = "https://";

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// RFC 3986's unreserved and reserved characters; "%" is checked with what follows it.
bool IsAddressCharacter(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-._~:/?#[]@!$&'()*+,;=").find(c) != std::string_view::npos;
}

}  // namespace

bool IsSecureWebAddress(std::string_view address) {
  if (address.size() > kMaxAddressLength || !ascii::StartsWithNoCase(address, kScheme)) return false;
  for (size_t i = 0; i < address.size(); ++i) {
    if (address[i] == '%') {
      if (i + 2 >= address.size() || !IsHexDigit(address[i + 1]) || !IsHexDigit(address[i + 2])) return false;
      i += 2;
    } else if (!IsAddressCharacter(address[i])) {
      return false;
    }
  }
  // The authority runs up to the path, query or fragment: a host, perhaps a port, never a
  // user name or password that the system would send along.
  const std::string_view rest = address.substr(kScheme.size());
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  return !authority.empty() && authority[0] != ':' && authority.find('@') == std::string_view::npos;
}
