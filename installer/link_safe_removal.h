#pragma once
// Removing what an installation made without ever acting through a link. Every folder along a
// path, from the drive's root down, is opened in turn and stays open without delete sharing,
// so that none of them can be renamed, removed or swapped for a link until the removal is
// over; each must be the very plain folder (no junction, no symbolic link) that its parent
// lists under that name. The last part is checked and deleted through one and the same
// handle, so nothing can take its place between the check and the deletion.
#include <string>
#include <vector>

#include "base/result.h"

namespace link_safe {

enum class Code {
  Ok,
  Missing,    // nothing by that name along the path: nothing to remove
  Link,       // a link along the path or at its end: left alone
  OtherKind,  // a folder where a file was meant, or a file where a folder was
  NotEmpty,   // a folder that still holds something
  InUse,      // the system refuses the deletion for now (a running program, say)
  Failed,     // anything else, and paths that are not plain "X:\..." paths
};

// Words for the installer's log and its checks: "ok", "missing", "link", "other kind",
// "not empty", "in use", "failed".
const char* CodeWord(Code code);

Result<Code> RemoveFile(const std::wstring& path);
Result<Code> RemoveEmptyFolder(const std::wstring& path);

struct Entry {
  std::wstring name;
  bool folder = false;
};
// The plain files and folders in the folder at `path` (reached as above); links are left out.
Result<Code> ListFolder(const std::wstring& path, std::vector<Entry>* entries);

}  // namespace link_safe
