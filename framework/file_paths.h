#pragma once
// Two small facts about file paths that the settings, the registration and the catalogue's
// cache all ask.
#include <string>

namespace fw {

// True when `path` is not empty and names a file that can be opened for reading (it is
// opened as raw bytes and closed again at once).
bool FileExists(const std::string& path);

// The folder part of `path`, before its last backslash or slash; "." (the current folder)
// when the path names no folder.
std::string FolderOf(const std::string& path);

}  // namespace fw
