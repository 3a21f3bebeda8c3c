#include "tests/rotation/wine_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "settings/registry_names.h"

namespace rotation_test {

namespace {

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool FileThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string OwnKeyPath() {
  return std::string(registry_names::kCollectionKey) + "\\" + registry_names::kProductKey;
}

HKEY CreateKey(const std::string& keyPath) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create HKCU\\" + keyPath);
  return key;
}

void SetValue(const std::string& keyPath, const char* name, DWORD type, const std::vector<BYTE>& data) {
  HKEY key = CreateKey(keyPath);
  const LONG result =
      RegSetValueExA(key, name, 0, type, data.empty() ? nullptr : data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error("cannot write " + std::string(name) + " in " + keyPath);
}

struct BoxSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<BoxSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search->processId && std::string(className) == "#32770" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &length);
  return std::string(text);
}

// The message text sits in the box's only static control that has text (the icon's has none).
BOOL CALLBACK FindBoxText(HWND child, LPARAM parameter) {
  char className[16] = {};
  GetClassNameA(child, className, sizeof className);
  if (_stricmp(className, "Static") != 0) return TRUE;
  std::string text = TextOf(child);
  if (text.empty()) return TRUE;
  *reinterpret_cast<std::string*>(parameter) = text;
  return FALSE;
}

}  // namespace

std::string WindowsPath(const char* builtPath) {
  std::string path = builtPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  if (!path.empty() && path[0] == '\\') path = "Z:" + path;  // Wine maps the host's root to Z:
  return path;
}

TempFolder::TempFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  // Wine reuses process ids, and a folder left by an aborted run may still be there.
  static int serial = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    path_ = std::string(temp) + "tellaro rotation " + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    if (CreateDirectoryA(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  throw std::runtime_error("cannot create " + path_ + ", error " + std::to_string(GetLastError()));
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(File(entry.cFileName).c_str());
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(path_.c_str());
}

MemberProgram::MemberProgram(const TempFolder& folder, const std::string& name) : path_(folder.File(name)) {
  const std::string source = WindowsPath(TELLARO_RECORD_MEMBER_EXE);
  if (!CopyFileA(source.c_str(), path_.c_str(), FALSE))
    throw std::runtime_error("cannot copy " + source + " to " + path_);
}

void MemberProgram::SetSleep(DWORD milliseconds) const {
  std::ofstream(path_ + ".sleep", std::ios::binary) << milliseconds;
}

void MemberProgram::ClearRecords() const {
  End();
  for (const char* suffix : {".pid", ".cmdline", ".done"}) DeleteFileA((path_ + suffix).c_str());
}

bool MemberProgram::Started() const { return FileThere(path_ + ".pid"); }
bool MemberProgram::Done() const { return FileThere(path_ + ".done"); }
std::optional<std::string> MemberProgram::CommandLine() const { return ReadWholeFile(path_ + ".cmdline"); }

std::optional<std::string> MemberProgram::WaitForCommandLine(DWORD timeoutMs) const {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (std::optional<std::string> line = CommandLine()) return line;
    if (GetTickCount64() >= end) return std::nullopt;
    Sleep(20);
  }
}

bool MemberProgram::IsRunning() const {
  std::optional<std::string> pid = ReadWholeFile(path_ + ".pid");
  if (!pid) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(pid->c_str(), nullptr, 10));
  if (!process) return false;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

void MemberProgram::End() const {
  std::optional<std::string> pid = ReadWholeFile(path_ + ".pid");
  if (!pid) return;
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, std::strtoul(pid->c_str(), nullptr, 10));
  if (!process) return;
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, kExitTimeoutMs);
  }
  CloseHandle(process);
}

CollectionRegistry::CollectionRegistry() {
  RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  RegCloseKey(CreateKey(registry_names::kCollectionKey));
}

CollectionRegistry::~CollectionRegistry() { RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey); }

void CollectionRegistry::SetStartRandom(DWORD value) const {
  SetCollectionValue(registry_names::kStartRandom, REG_DWORD, DwordData(value));
}

void CollectionRegistry::SetCollectionValue(const char* name, DWORD type, const std::vector<BYTE>& data) const {
  SetValue(registry_names::kCollectionKey, name, type, data);
}

void CollectionRegistry::SetOwnExecutablePath(const std::string& path) const {
  SetOwnValue(registry_names::kExecutablePath, REG_SZ, StringData(path));
}

void CollectionRegistry::SetOwnValue(const char* name, DWORD type, const std::vector<BYTE>& data) const {
  SetValue(OwnKeyPath(), name, type, data);
}

void CollectionRegistry::AddMember(const std::string& keyName, const std::string& title,
                                   const std::string& executablePath) const {
  SetValue(std::string(registry_names::kCollectionKey) + "\\" + registry_names::kListKey, keyName.c_str(), REG_SZ,
           StringData(title));
  SetValue(std::string(registry_names::kCollectionKey) + "\\" + keyName, registry_names::kExecutablePath, REG_SZ,
           StringData(executablePath));
}

std::vector<BYTE> StringData(const std::string& text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

std::vector<BYTE> DwordData(DWORD value) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
  return std::vector<BYTE>(bytes, bytes + sizeof value);
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info_))
    info_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess() {
  if (!Started()) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, kExitTimeoutMs);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) const {
  return Started() && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (Started()) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::optional<MessageBoxSeen> DismissMessageBox(DWORD processId, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  BoxSearch search{processId, nullptr};
  for (;;) {
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) break;
    if (GetTickCount64() >= end) return std::nullopt;
    Sleep(50);
  }
  MessageBoxSeen seen;
  seen.caption = TextOf(search.found);
  EnumChildWindows(search.found, FindBoxText, reinterpret_cast<LPARAM>(&seen.text));
  PostMessageA(search.found, WM_COMMAND, IDOK, 0);
  return seen;
}

}  // namespace rotation_test
