#include "resources/trace.h"

#include <cstdarg>
#include <cstdio>

std::string TraceError(const char* format, ...) {
  char message[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  return message;
}
