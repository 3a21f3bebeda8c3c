#pragma once
// Reading and writing the cache's files, with the folders they need.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// True when a file at `path` can be opened for reading or, failing that, created, written
// and deleted again. A path ending with a backslash is a folder and is tested with
// "testfilename001.fileext" inside it.
bool IsUsablePath(const std::string& path);

// Makes `path` usable, creating every folder it names that is missing. True when it is.
bool MakePathUsable(const std::string& path);

// Writes `length` bytes to `path`, creating the missing folders first. The bytes go to a
// temporary file ("tlr*.tmp") in the same folder that is flushed to the disk and only then
// replaces `path`, so a failed write or a power cut leaves any earlier file at `path` as it
// was. True on success.
bool WriteFileWithFolders(const std::string& path, const void* bytes, size_t length);
