#pragma once
// Reading and writing the cache's files, with the folders they need.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// True when a file at `path` can be opened for reading or, failing that, created, written
// and deleted again. A path ending with a backslash is a folder and is tested with a
// temporary file of a name that the system makes unique in it (catalogue/cache_names.h), so
// the probe never meets a file or folder of the cache.
bool IsUsablePath(const std::string& path);

// Makes `path` usable, creating every folder it names that is missing. True when it is.
bool MakePathUsable(const std::string& path);

// Writes `length` bytes to `path`, creating the missing folders first. The bytes go to a
// temporary file (catalogue/cache_names.h) in the same folder that is flushed to the disk and only then
// replaces `path`, so a failed write or a power cut leaves any earlier file at `path` as it
// was. True on success.
bool WriteFileWithFolders(const std::string& path, const void* bytes, size_t length);

// Deletes the temporary files that a write or probe in `folder` (ending with a backslash)
// left behind when its process was killed. Returns the bytes of those that stay (open in
// another process): they count against the cache's bound.
uint64_t SweepTemporaryFiles(const std::string& folder);
