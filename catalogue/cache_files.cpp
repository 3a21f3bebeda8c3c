#include "catalogue/cache_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <new>

#include "catalogue/cache_names.h"
#include "framework/file_paths.h"

namespace {

bool CanMakeTemporaryFile(const std::string& folder) {
  char probe[MAX_PATH];
  // Creates the file of a unique name, or fails.
  if (!GetTempFileNameA(folder.c_str(), kTemporaryPrefix, 0, probe)) return false;
  return DeleteFileA(probe) != FALSE;
}

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

// All bytes written and on the disk before the handle closes.
bool WriteDurably(const char* path, const void* bytes, size_t length) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool written = true;
  const auto* from = static_cast<const char*>(bytes);
  for (size_t done = 0; written && done < length;) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(length - done, size_t{1} << 20));
    DWORD wrote = 0;
    written = WriteFile(file, from + done, piece, &wrote, nullptr) && wrote == piece;
    done += wrote;
  }
  written = written && FlushFileBuffers(file);
  return CloseHandle(file) && written;
}

}  // namespace

bool IsUsablePath(const std::string& path) {
  if (path.empty()) return false;
  if (path.back() == '\\' || path.back() == '/') return CanMakeTemporaryFile(path);
  return fw::FileExists(path) || CanWriteAndDelete(path);
}

bool MakePathUsable(const std::string& path) {
  if (IsUsablePath(path)) return true;
  CreateFolders(path);
  return IsUsablePath(path);
}

bool WriteFileWithFolders(const std::string& path, const void* bytes, size_t length) {
  const std::string folder = fw::FolderOf(path) + "\\";
  if (!MakePathUsable(folder)) return false;
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), kTemporaryPrefix, 0, temporary)) return false;
  if (!WriteDurably(temporary, bytes, length) ||
      !MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary);
    return false;
  }
  return true;
}

uint64_t SweepTemporaryFiles(const std::string& folder) {
  uint64_t staying = 0;
  WIN32_FIND_DATAA found;
  HANDLE search =
      FindFirstFileA((folder + kTemporaryPrefix + "*" + kTemporarySuffix).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    // The pattern also matches short 8.3 names: only a name of ours, in full, goes.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsTemporaryName(found.cFileName)) continue;
    if (!DeleteFileA((folder + found.cFileName).c_str()))
      staying += (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return staying;
}
