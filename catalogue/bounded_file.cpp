#include "catalogue/bounded_file.h"

#include <cstdio>
#include <memory>
#include <new>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

Result<FileReadError> Read(std::FILE* file, const std::string& path, size_t maxBytes, std::vector<uint8_t>* bytes) {
  try {
    uint8_t piece[4096];
    size_t got;
    // One byte past the bound is enough to tell a file that is too large.
    while (bytes->size() <= maxBytes && (got = std::fread(piece, 1, sizeof piece, file)) > 0)
      bytes->insert(bytes->end(), piece, piece + got);
  } catch (const std::bad_alloc&) {
    return Result<FileReadError>::Fail(FileReadError::NoMemory, path + ": no memory to read it");
  }
  if (std::ferror(file)) return Result<FileReadError>::Fail(FileReadError::Unreadable, path + ": can't be read");
  if (bytes->size() > maxBytes)
    return Result<FileReadError>::Fail(FileReadError::TooLarge,
                                       path + ": more than " + std::to_string(maxBytes) + " bytes");
  return Result<FileReadError>::Ok();
}

}  // namespace

Result<FileReadError> ReadFileUpTo(const std::string& path, size_t maxBytes, std::vector<uint8_t>* bytes) {
  bytes->clear();
  const std::unique_ptr<std::FILE, FileCloser> file(path.empty() ? nullptr : std::fopen(path.c_str(), "rb"));
  if (!file) return Result<FileReadError>::Fail(FileReadError::Unreadable, path + ": can't be opened");
  Result<FileReadError> read = Read(file.get(), path, maxBytes, bytes);
  if (!read) {
    bytes->clear();
    bytes->shrink_to_fit();
  }
  return read;
}
