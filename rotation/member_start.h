#pragma once
// Starting a collection member's program: used by the launcher for every run and by the
// settings dialog for a sibling's settings page and for its own full-screen preview.
#include <windows.h>

#include <string>

namespace rotation {

// A started member's process, closed with the object. Empty when the start failed.
class MemberProcess {
 public:
  MemberProcess() = default;
  explicit MemberProcess(HANDLE process) : process_(process) {}
  ~MemberProcess() { Close(); }
  MemberProcess(MemberProcess&& other) noexcept : process_(other.process_) { other.process_ = nullptr; }
  MemberProcess& operator=(MemberProcess&& other) noexcept;
  MemberProcess(const MemberProcess&) = delete;
  MemberProcess& operator=(const MemberProcess&) = delete;

  explicit operator bool() const { return process_ != nullptr; }
  HANDLE Handle() const { return process_; }
  bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
  // Ends a program that is still running (a sibling that stopped answering).
  void Terminate();
  void Close();

 private:
  HANDLE process_ = nullptr;
};

// Starts `executablePath` with the command line "\"<path>\" <arguments>". On failure the
// result is empty and *error (if given) holds the reason: CreateProcessA's error code, or
// ERROR_FILENAME_EXCED_RANGE for an argument string that does not fit the command line (it
// is refused, nothing starts). Nothing here waits for the program.
MemberProcess StartMember(const std::string& executablePath, const std::string& arguments, DWORD* error = nullptr);

// "-1:<handle>" for the settings page that a member places inside `pageWindow`.
std::string PageArgument(HWND pageWindow);

}  // namespace rotation
