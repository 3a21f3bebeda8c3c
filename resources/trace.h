#pragma once
// Loader diagnostics of the archive and the image decoders. TraceError shows nothing and
// writes nothing anywhere; the last formatted message is kept in memory so that tests can
// see which failure path was taken.
#include <string>

#if defined(__GNUC__)
#define TELLARO_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define TELLARO_PRINTF_FORMAT(f, a)
#endif

void TraceError(const char* format, ...) TELLARO_PRINTF_FORMAT(1, 2);

// The message of the most recent TraceError call ("" after ClearLastTrace).
const std::string& LastTrace();
void ClearLastTrace();
