#include "shell/command_line.h"

#include <cerrno>
#include <cstdlib>

#include "base/ascii.h"

std::string LowerAndTrim(const std::string& text) {
  const size_t first = text.find_first_not_of(ascii::kBlanks);
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(ascii::kBlanks);
  std::string result = text.substr(first, last - first + 1);
  for (char& c : result)
    c = ascii::Lower(c);
  return result;
}

namespace {

uint64_t ParseDecimalHandle(const std::string& text) {
  // Leading decimal digits, anything after them ignored. A sign or a number beyond 64 bits
  // names no window: 0, which ends the run.
  if (text.empty() || text[0] < '0' || text[0] > '9') return 0;
  errno = 0;
  const uint64_t handle = std::strtoull(text.c_str(), nullptr, 10);
  return errno == ERANGE ? 0 : handle;
}

uint64_t ParseEmbeddedHandle(const std::string& lowered) {
  static const std::string prefix = "-1:";
  if (lowered.compare(0, prefix.size(), prefix) != 0) return 0;
  const char* digits = lowered.c_str() + prefix.size();
  char* end = nullptr;
  const uint64_t handle = std::strtoull(digits, &end, 16);
  if (end == digits || *digits == '-' || *digits == '+') return 0;
  return handle;
}

}  // namespace

CommandLine ParseCommandLine(const std::string& text, const std::vector<std::string>& arguments) {
  CommandLine result;
  const std::string lowered = LowerAndTrim(text);
  if (lowered.empty()) {
    result.mode = RunMode::Settings;
    return result;
  }
  if (lowered[0] != '-' && lowered[0] != '/') return result;
  const char selector = lowered.size() > 1 ? lowered[1] : '\0';
  switch (selector) {
    case 'c':
      result.mode = RunMode::Settings;
      break;
    case 's':
      result.mode = RunMode::FullScreen;
      break;
    case 'p':
      result.mode = RunMode::Preview;
      if (arguments.size() >= 3) result.hostWindow = ParseDecimalHandle(arguments[2]);
      // Some hosts join the handle to the switch: "/p:1234".
      else if (lowered.size() > 3 && lowered[2] == ':') result.hostWindow = ParseDecimalHandle(lowered.substr(3));
      break;
    case 'a':
      result.mode = RunMode::PasswordChange;
      break;
    case '1':
      result.mode = RunMode::EmbeddedPage;
      result.hostWindow = ParseEmbeddedHandle(lowered);
      break;
    default:
      break;
  }
  return result;
}
