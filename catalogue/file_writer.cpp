#include "catalogue/file_writer.h"

#include <windows.h>

#include <cstdio>

namespace {

bool CanWriteAndDelete(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite("12345", 1, 5, file) == 5;
  const bool closed = std::fclose(file) == 0;
  return written && closed && DeleteFileA(path.c_str()) != FALSE;
}

// Every folder named by a prefix that ends before a separator, shortest first. Failures are
// left to the usability test afterwards (the drive itself, folders that already exist).
void CreateFolders(const std::string& path) {
  for (size_t at = path.find_first_of("\\/", 1); at != std::string::npos; at = path.find_first_of("\\/", at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

std::string FolderOf(const std::string& path) {
  const size_t at = path.find_last_of("\\/");
  return at == std::string::npos ? std::string(".") : path.substr(0, at);
}

}  // namespace

bool IsUsablePath(const std::string& path) {
  if (path.empty()) return false;
  const std::string file =
      path.back() == '\\' || path.back() == '/' ? path + "testfilename001.fileext" : path;
  if (std::FILE* existing = std::fopen(file.c_str(), "rb")) {
    std::fclose(existing);
    return true;
  }
  return CanWriteAndDelete(file);
}

bool WriteFileWithFolders(const std::string& path, const void* bytes, size_t length) {
  if (!IsUsablePath(path)) {
    CreateFolders(path);
    if (!IsUsablePath(path)) return false;
  }
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(FolderOf(path).c_str(), "tlr", 0, temporary)) return false;
  std::FILE* file = std::fopen(temporary, "wb");
  bool written = file != nullptr;
  if (file) {
    written = (length == 0 || std::fwrite(bytes, 1, length, file) == length);
    written = std::fclose(file) == 0 && written;
  }
  if (!written || !MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary);
    return false;
  }
  return true;
}

bool IsReadableFile(const std::string& path) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}
