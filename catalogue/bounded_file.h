#pragma once
// Reading a whole file that may be no larger than a bound: the cached catalogue and the
// cached pictures, which anything with access to the installation folder may have replaced.
// Plain C++, so it is tested natively.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"

enum class FileReadError { None, Unreadable, TooLarge, NoMemory };

// The whole file at `path` when it holds at most `maxBytes`. On failure `bytes` is empty and
// the result says why: the file is missing or can't be read (a folder can't), holds more,
// or memory runs out.
Result<FileReadError> ReadFileUpTo(const std::string& path, size_t maxBytes, std::vector<uint8_t>* bytes);
