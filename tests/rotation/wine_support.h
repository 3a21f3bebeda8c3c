#pragma once
// What the rotation tests need to drive real programs under Wine: a scratch folder with
// recording member programs, the collection's registry keys, started processes, and the
// message boxes those processes show.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace rotation_test {

// Long enough for a Wine process start plus a member's own sleep, short enough to fail a
// hung run instead of the whole test program.
inline constexpr DWORD kExitTimeoutMs = 15000;

// A path from the build system (a host path such as /tmp/b/x.exe) as Windows programs see it.
std::string WindowsPath(const char* builtPath);

// A fresh folder below the temporary folder, with a blank in its name so that unquoted
// command lines would come apart; removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// A copy of the recording member program (see record_member.cpp) under `name`.
class MemberProgram {
 public:
  MemberProgram(const TempFolder& folder, const std::string& name);
  ~MemberProgram() { End(); }
  MemberProgram(const MemberProgram&) = delete;
  MemberProgram& operator=(const MemberProgram&) = delete;

  const std::string& Path() const { return path_; }
  void SetSleep(DWORD milliseconds) const;
  void ClearRecords() const;  // ends a running copy first
  bool Started() const;       // its pid record exists
  bool Done() const;          // it got past its sleep
  std::optional<std::string> CommandLine() const;
  // Waits until the copy has recorded its command line.
  std::optional<std::string> WaitForCommandLine(DWORD timeoutMs) const;
  bool IsRunning() const;
  void End() const;  // terminates a running copy and waits for it to be gone

 private:
  std::string path_;
};

// HKCU\Software\Kestrune\Halcyonix, emptied when a test begins and removed when it ends.
class CollectionRegistry {
 public:
  CollectionRegistry();
  ~CollectionRegistry();
  CollectionRegistry(const CollectionRegistry&) = delete;
  CollectionRegistry& operator=(const CollectionRegistry&) = delete;

  void SetStartRandom(DWORD value) const;
  void SetCollectionValue(const char* name, DWORD type, const std::vector<BYTE>& data) const;
  void SetOwnExecutablePath(const std::string& path) const;
  void SetOwnValue(const char* name, DWORD type, const std::vector<BYTE>& data) const;
  // A "List" value named keyName with the title as data, and the member's key with its
  // "ExecutablePath".
  void AddMember(const std::string& keyName, const std::string& title, const std::string& executablePath) const;
};

std::vector<BYTE> StringData(const std::string& text);  // with its terminating NUL
std::vector<BYTE> DwordData(DWORD value);

// A process started with "\"<program>\" <arguments>", terminated if still running when
// the object goes away.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::string& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  bool WaitForExit(DWORD timeoutMs) const;
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION info_{};
};

struct MessageBoxSeen {
  std::string caption;
  std::string text;
};
// Finds the message box (dialog class "#32770") that process `processId` shows, reads its
// caption and text and presses its OK button. None if no box appeared in time.
std::optional<MessageBoxSeen> DismissMessageBox(DWORD processId, DWORD timeoutMs);

}  // namespace rotation_test
