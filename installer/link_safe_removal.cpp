#include "installer/link_safe_removal.h"

#include <windows.h>

#include <cstdint>
#include <utility>

namespace link_safe {

namespace {

// Without FILE_SHARE_DELETE nobody can rename or delete what we hold open.
constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
// A link itself is opened, never what it leads to (Windows); folders need backup semantics.
constexpr DWORD kFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr DWORD kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  Handle& operator=(Handle&&) = delete;
  ~Handle() {
    if (IsOpen()) CloseHandle(handle_);
  }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

Result<Code> Fail(Code code, const std::wstring& path) {
  std::string reason(CodeWord(code));
  reason += ": ";
  for (wchar_t c : path) reason += c < 0x80 ? static_cast<char>(c) : '?';
  return Result<Code>::Fail(code, reason);
}

Result<Code> FailWithError(DWORD error, const std::wstring& path) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return Fail(Code::Missing, path);
    case ERROR_DIR_NOT_EMPTY:
      return Fail(Code::NotEmpty, path);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return Fail(Code::InUse, path);
    default:
      return Fail(Code::Failed, path);
  }
}

bool IsPlainName(const std::wstring& name) {
  return !name.empty() && name != L"." && name != L".." && name.find_first_of(L":*?\"<>|/") == std::wstring::npos;
}

// "X:\a\b" (a final backslash allowed) into the root "X:\" and the names below it.
bool Split(const std::wstring& path, std::wstring* root, std::vector<std::wstring>* names) {
  if (path.size() < 4 || !iswalpha(path[0]) || path[1] != L':' || path[2] != L'\\') return false;
  *root = path.substr(0, 3);
  const size_t length = path.back() == L'\\' ? path.size() - 1 : path.size();
  size_t start = 3;
  while (start < length) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos || end > length) end = length;
    names->push_back(path.substr(start, end - start));
    if (!IsPlainName(names->back())) return false;
    start = end + 1;
  }
  return !names->empty() && start > length;
}

// The file system's names as they are, without the Win32 path rules.
Handle Open(const std::wstring& path, DWORD access) {
  const std::wstring literal = L"\\\\?\\" + path;
  return Handle(CreateFileW(literal.c_str(), access, kShare, nullptr, OPEN_EXISTING, kFlags, nullptr));
}

// Calls `visit` with each entry that the folder lists until it returns true.
template <typename Visit>
bool ForEachEntry(HANDLE folder, Visit visit) {
  std::vector<uint64_t> buffer(8 * 1024);  // 64 KiB, aligned for the entries
  const DWORD size = static_cast<DWORD>(buffer.size() * sizeof(uint64_t));
  FILE_INFO_BY_HANDLE_CLASS query = FileIdBothDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(folder, query, buffer.data(), size)) {
    query = FileIdBothDirectoryInfo;
    for (const BYTE* at = reinterpret_cast<const BYTE*>(buffer.data());;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      if (visit(*entry)) return true;
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
  return false;
}

std::wstring EntryName(const FILE_ID_BOTH_DIR_INFO& entry) {
  return std::wstring(entry.FileName, entry.FileNameLength / sizeof(wchar_t));
}

// `opened` was opened as `name` below `parent`: it must be no link, of the kind wanted, and
// the very object that `parent` lists under that name. Wine opens the target of a link even
// when asked for the link itself; the parent's listing still shows the link for what it is.
Result<Code> Check(HANDLE parent, const std::wstring& name, HANDLE opened, bool folder, const std::wstring& path) {
  FILE_ATTRIBUTE_TAG_INFO tag{};
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandleEx(opened, FileAttributeTagInfo, &tag, sizeof tag) ||
      !GetFileInformationByHandle(opened, &info))
    return Fail(Code::Failed, path);
  if (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return Fail(Code::Link, path);
  if (((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder) return Fail(Code::OtherKind, path);
  const int64_t id = static_cast<int64_t>((static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow);
  Code found = Code::Missing;
  ForEachEntry(parent, [&](const FILE_ID_BOTH_DIR_INFO& entry) {
    const std::wstring listed = EntryName(entry);
    if (CompareStringOrdinal(listed.c_str(), static_cast<int>(listed.size()), name.c_str(),
                             static_cast<int>(name.size()), TRUE) != CSTR_EQUAL)
      return false;
    const bool link = (entry.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || entry.FileId.QuadPart != id;
    found = link ? Code::Link : Code::Ok;
    return true;
  });
  return found == Code::Ok ? Result<Code>::Ok() : Fail(found, path);
}

// The folders of a path, held open and checked from the root down; the last entry of
// `held` is the folder that holds the path's last part.
struct Walk {
  std::vector<Handle> held;
  std::wstring reached;  // the path of the last folder held
  std::wstring last;     // the path's last part
};

Result<Code> WalkTo(const std::wstring& path, Walk* walk) {
  std::vector<std::wstring> names;
  if (!Split(path, &walk->reached, &names)) return Fail(Code::Failed, path);
  walk->last = names.back();
  names.pop_back();
  walk->held.reserve(names.size() + 1);
  walk->held.emplace_back(Open(walk->reached, kFolderAccess));
  if (!walk->held.back().IsOpen()) return FailWithError(GetLastError(), walk->reached);
  for (const std::wstring& name : names) {
    if (walk->reached.back() != L'\\') walk->reached += L'\\';
    walk->reached += name;
    Handle folder = Open(walk->reached, kFolderAccess);
    if (!folder.IsOpen()) return FailWithError(GetLastError(), walk->reached);
    if (Result<Code> checked = Check(walk->held.back().Get(), name, folder.Get(), true, walk->reached); !checked)
      return checked;
    walk->held.push_back(std::move(folder));
  }
  if (walk->reached.back() != L'\\') walk->reached += L'\\';
  return Result<Code>::Ok();
}

Result<Code> Remove(const std::wstring& path, bool folder) {
  Walk walk;
  if (Result<Code> walked = WalkTo(path, &walk); !walked) return walked;
  const std::wstring full = walk.reached + walk.last;
  Handle target = Open(full, DELETE | (folder ? kFolderAccess : FILE_READ_ATTRIBUTES | SYNCHRONIZE));
  if (!target.IsOpen()) return FailWithError(GetLastError(), full);
  if (Result<Code> checked = Check(walk.held.back().Get(), walk.last, target.Get(), folder, full); !checked)
    return checked;
  // A folder that holds anything refuses this, so only an empty one goes.
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!SetFileInformationByHandle(target.Get(), FileDispositionInfo, &disposition, sizeof disposition))
    return FailWithError(GetLastError(), full);
  return Result<Code>::Ok();
}

}  // namespace

const char* CodeWord(Code code) {
  switch (code) {
    case Code::Ok:
      return "ok";
    case Code::Missing:
      return "missing";
    case Code::Link:
      return "link";
    case Code::OtherKind:
      return "other kind";
    case Code::NotEmpty:
      return "not empty";
    case Code::InUse:
      return "in use";
    case Code::Failed:
      break;
  }
  return "failed";
}

Result<Code> RemoveFile(const std::wstring& path) { return Remove(path, false); }

Result<Code> RemoveEmptyFolder(const std::wstring& path) { return Remove(path, true); }

Result<Code> ListFolder(const std::wstring& path, std::vector<Entry>* entries) {
  Walk walk;
  if (Result<Code> walked = WalkTo(path, &walk); !walked) return walked;
  const std::wstring full = walk.reached + walk.last;
  Handle folder = Open(full, kFolderAccess);
  if (!folder.IsOpen()) return FailWithError(GetLastError(), full);
  if (Result<Code> checked = Check(walk.held.back().Get(), walk.last, folder.Get(), true, full); !checked)
    return checked;
  ForEachEntry(folder.Get(), [&](const FILE_ID_BOTH_DIR_INFO& entry) {
    std::wstring name = EntryName(entry);
    if (IsPlainName(name) && !(entry.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      entries->push_back({std::move(name), (entry.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    return false;
  });
  return Result<Code>::Ok();
}

}  // namespace link_safe
