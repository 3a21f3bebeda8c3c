#pragma once
// Starting the project's programs as separate processes under Wine and finding their windows.
#include <windows.h>

#include <string>

// A Unix path of the build tree as Wine's Z: drive sees it.
inline std::string WindowsPath(const std::string& unixPath) {
  if (unixPath.empty() || unixPath[0] != '/') return unixPath;
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Start(const std::string& program, const std::string& arguments) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Wine now and then refuses a creation while another process is being torn down.
    bool created = false;
    for (int attempt = 0; attempt < 3 && !created; ++attempt) {
      if (attempt > 0) Sleep(500);
      created = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &info_) != FALSE;
    }
    if (!created) return false;
    CloseHandle(info_.hThread);
    info_.hThread = nullptr;
    return true;
  }

  // True when the process ended within the time; its exit code is then in *exitCode.
  bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
  }

  // The first visible top-level window of the process at least minWidth x minHeight in
  // size (small ones such as a loading notice are passed over), waiting up to the given time.
  HWND WaitForWindow(DWORD milliseconds, int minWidth = 0, int minHeight = 0) const {
    const DWORD deadline = GetTickCount() + milliseconds;
    do {
      Search search{info_.dwProcessId, minWidth, minHeight, nullptr};
      EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      Sleep(50);
    } while (static_cast<int32_t>(deadline - GetTickCount()) > 0);
    return nullptr;
  }

  // A child window of `parent` that belongs to the process, waiting up to the given time.
  HWND WaitForChildOf(HWND parent, DWORD milliseconds) const {
    const DWORD deadline = GetTickCount() + milliseconds;
    do {
      Search search{info_.dwProcessId, 0, 0, nullptr};
      EnumChildWindows(parent, &FindOwned, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      Sleep(50);
    } while (static_cast<int32_t>(deadline - GetTickCount()) > 0);
    return nullptr;
  }

  // A visible message box of the process (a dialog holding the box's text control 0xFFFF),
  // waiting up to the given time.
  HWND WaitForMessageBox(DWORD milliseconds) const {
    const DWORD deadline = GetTickCount() + milliseconds;
    do {
      Search search{info_.dwProcessId, 0, 0, nullptr};
      EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      Sleep(50);
    } while (static_cast<int32_t>(deadline - GetTickCount()) > 0);
    return nullptr;
  }

  void Kill() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    info_.hProcess = nullptr;
  }

  DWORD Id() const { return info_.dwProcessId; }

 private:
  struct Search {
    DWORD processId;
    int minWidth;
    int minHeight;
    HWND found;
  };
  static BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId || !IsWindowVisible(hwnd)) return TRUE;
    RECT rect;
    GetWindowRect(hwnd, &rect);
    if (rect.right - rect.left < search->minWidth || rect.bottom - rect.top < search->minHeight) return TRUE;
    search->found = hwnd;
    return FALSE;
  }

  static BOOL CALLBACK FindBox(HWND hwnd, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId || !IsWindowVisible(hwnd) || !GetDlgItem(hwnd, 0xFFFF)) return TRUE;
    search->found = hwnd;
    return FALSE;
  }
  static BOOL CALLBACK FindOwned(HWND hwnd, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId || GetParent(hwnd) == nullptr) return TRUE;
    search->found = hwnd;
    return FALSE;
  }

  PROCESS_INFORMATION info_{};
};
