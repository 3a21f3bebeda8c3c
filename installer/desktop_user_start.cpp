#include "installer/desktop_user_start.h"

#include <userenv.h>

#include <memory>
#include <vector>

namespace desktop_user {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Owned = std::unique_ptr<void, HandleCloser>;

struct AttributeListDeleter {
  void operator()(LPPROC_THREAD_ATTRIBUTE_LIST list) const { DeleteProcThreadAttributeList(list); }
};

struct EnvironmentDeleter {
  void operator()(void* block) const { DestroyEnvironmentBlock(block); }
};

Result<Code> Fail(Code code, const char* step) {
  return Result<Code>::Fail(code, std::string(step) + ": error " + std::to_string(GetLastError()));
}

// The shell's window: the one the shell registered, or (Wine registers none) its taskbar's.
HWND ShellWindow() {
  if (HWND shell = GetShellWindow()) return shell;
  return FindWindowW(L"Shell_TrayWnd", nullptr);
}

// The shell's process with the rights to start a child of it and read its token. When the
// desktop's user is another account than the administrator's, only the debug privilege
// (held, not enabled, by an elevated administrator) opens it; it is enabled for that alone.
HANDLE OpenShell(DWORD id) {
  constexpr DWORD kAccess = PROCESS_CREATE_PROCESS | PROCESS_QUERY_INFORMATION;
  HANDLE shell = OpenProcess(kAccess, FALSE, id);
  HANDLE ownToken = nullptr;
  if (shell || GetLastError() != ERROR_ACCESS_DENIED ||
      !OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &ownToken))
    return shell;
  const Owned token(ownToken);
  TOKEN_PRIVILEGES debug{1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}}, before{};
  DWORD size = sizeof before;
  if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &debug.Privileges[0].Luid) &&
      AdjustTokenPrivileges(token.get(), FALSE, &debug, sizeof before, &before, &size) &&
      GetLastError() == ERROR_SUCCESS) {
    shell = OpenProcess(kAccess, FALSE, id);
    AdjustTokenPrivileges(token.get(), FALSE, &before, 0, nullptr, nullptr);
  }
  return shell;
}

// The user's own environment; when the shell's token cannot be read, none is passed and the
// child has ours (the programs take their folders from their token, never from it).
void* UserEnvironment(HANDLE shell) {
  HANDLE token = nullptr;
  void* block = nullptr;
  if (!OpenProcessToken(shell, TOKEN_QUERY | TOKEN_DUPLICATE, &token)) return nullptr;
  if (!CreateEnvironmentBlock(&block, token, FALSE)) block = nullptr;
  CloseHandle(token);
  return block;
}

}  // namespace

Result<Code> Start(const std::wstring& commandLine, HANDLE* process) {
  *process = nullptr;
  DWORD shellId = 0;
  const HWND shellWindow = ShellWindow();
  if (!shellWindow || !GetWindowThreadProcessId(shellWindow, &shellId) || shellId == 0)
    return Result<Code>::Fail(Code::NoShell, "no desktop shell");
  const Owned shell(OpenShell(shellId));
  if (!shell) return Fail(Code::ShellDenied, "shell process");
  const std::unique_ptr<void, EnvironmentDeleter> environment(UserEnvironment(shell.get()));

  // The shell becomes the parent: the child takes its token (and job) instead of ours.
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<BYTE> storage(size);
  auto* rawList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  if (!InitializeProcThreadAttributeList(rawList, 1, 0, &size)) return Fail(Code::StartFailed, "attribute list");
  const std::unique_ptr<_PROC_THREAD_ATTRIBUTE_LIST, AttributeListDeleter> list(rawList);
  HANDLE parent = shell.get();
  if (!UpdateProcThreadAttribute(list.get(), 0, PROC_THREAD_ATTRIBUTE_PARENT_PROCESS, &parent, sizeof parent,
                                 nullptr, nullptr))
    return Fail(Code::StartFailed, "parent attribute");

  wchar_t systemFolder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(systemFolder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Fail(Code::StartFailed, "system folder");
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.lpAttributeList = list.get();
  PROCESS_INFORMATION started{};
  std::wstring text = commandLine;  // CreateProcessW may write to it
  const DWORD flags = EXTENDED_STARTUPINFO_PRESENT | (environment ? CREATE_UNICODE_ENVIRONMENT : 0);
  if (!CreateProcessW(nullptr, text.data(), nullptr, nullptr, FALSE, flags, environment.get(), systemFolder,
                      &startup.StartupInfo, &started))
    return Fail(Code::StartFailed, "start");
  CloseHandle(started.hThread);
  *process = started.hProcess;
  return Result<Code>::Ok();
}

}  // namespace desktop_user
