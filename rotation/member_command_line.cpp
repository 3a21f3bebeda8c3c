#include "rotation/member_command_line.h"

#include <cstdio>

namespace rotation {

std::optional<std::string> ComposeMemberCommandLine(std::string_view executablePath, std::string_view arguments) {
  // Quotes, blank and NUL around the two parts.
  const std::size_t needed = executablePath.size() + arguments.size() + 4;
  if (needed > kCommandLineBufferSize) return std::nullopt;
  std::string commandLine;
  commandLine.reserve(needed);
  commandLine += '"';
  commandLine += executablePath;
  commandLine += "\" ";
  commandLine += arguments;
  return commandLine;
}

std::string FormatPageArgument(std::uintptr_t windowHandle) {
  char text[16];
  const unsigned long low = static_cast<unsigned long>(windowHandle & 0xFFFFFFFFu);
  std::snprintf(text, sizeof text, "-1:%lX", low);
  return text;
}

}  // namespace rotation
