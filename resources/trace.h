#pragma once
// Loader diagnostics of the archive and the image decoders. TraceError formats why a load
// failed into the caller's `reason` (and does nothing when the caller gave none); it shows
// and writes nothing anywhere. What the user sees is decided by the caller.
#include <string>

#if defined(__GNUC__)
#define TELLARO_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define TELLARO_PRINTF_FORMAT(f, a)
#endif

void TraceError(std::string* reason, const char* format, ...) TELLARO_PRINTF_FORMAT(2, 3);
