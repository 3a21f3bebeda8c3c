#pragma once
// Writing a downloaded file into the cache, with the folders it needs.
#include <cstddef>
#include <string>

// True when a file at `path` can be opened for reading or, failing that, created, written
// and deleted again. A path ending with a backslash is a folder and is tested with
// "testfilename001.fileext" inside it.
bool IsUsablePath(const std::string& path);

// True when a file at `path` can be opened for reading.
bool IsReadableFile(const std::string& path);

// Writes `length` bytes to `path`, creating the missing folders first. The bytes go to a
// temporary file in the same folder that replaces `path` only when it is complete, so a
// failed write leaves any earlier file at `path` as it was. True on success.
bool WriteFileWithFolders(const std::string& path, const void* bytes, size_t length);
