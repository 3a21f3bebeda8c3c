#include "resources/trace.h"

#include <cstdarg>
#include <cstdio>

void TraceError(std::string* reason, const char* format, ...) {
  if (!reason) return;
  char message[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  *reason = message;
}
