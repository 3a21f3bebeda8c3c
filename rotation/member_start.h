#pragma once
// Starting a collection member's program: used by the launcher for every run and by the
// settings dialog for a sibling's settings page and for its own full-screen preview.
#include <windows.h>

#include <string>

#include "base/result.h"

namespace rotation {

enum class StartError {
  None,
  CommandLineTooLong,  // the arguments don't fit a command line; nothing was started
  ProgramMissing,      // the program file or its folder isn't there: the user's to repair
  NotStarted,          // any other refusal of the system's
};

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

// Starts `executablePath` with the command line "\"<path>\" <arguments>" and hands the
// process to `started` (when given; otherwise its handle is closed at once). On failure
// `started` is empty and the reason names CreateProcessA's error code. Nothing here waits
// for the program.
Result<StartError> StartMember(const std::string& executablePath, const std::string& arguments,
                               MemberProcess* started = nullptr);

// "-1:<handle>" for the settings page that a member places inside `pageWindow`.
std::string PageArgument(HWND pageWindow);

}  // namespace rotation
