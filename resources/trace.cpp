#include "resources/trace.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::string& LastTraceText() {
  static std::string text;
  return text;
}

}  // namespace

void TraceError(const char* format, ...) {
  char message[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  LastTraceText() = message;
}

const std::string& LastTrace() { return LastTraceText(); }

void ClearLastTrace() { LastTraceText().clear(); }
