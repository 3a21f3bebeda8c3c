#pragma once
// Loader diagnostics of the archive and the image decoders. TraceError formats why a load
// failed and hands the text back for the caller's result; it shows and writes nothing
// anywhere. What the user sees is decided by the host at the top.
#include <string>

#if defined(__GNUC__)
#define TELLARO_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define TELLARO_PRINTF_FORMAT(f, a)
#endif

std::string TraceError(const char* format, ...) TELLARO_PRINTF_FORMAT(1, 2);
