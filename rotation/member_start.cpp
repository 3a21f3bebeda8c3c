#include "rotation/member_start.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "rotation/member_command_line.h"

namespace rotation {

MemberProcess& MemberProcess::operator=(MemberProcess&& other) noexcept {
  if (this != &other) {
    Close();
    process_ = other.process_;
    other.process_ = nullptr;
  }
  return *this;
}

void MemberProcess::Terminate() {
  if (Running()) TerminateProcess(process_, 1);
}

void MemberProcess::Close() {
  if (process_) CloseHandle(process_);
  process_ = nullptr;
}

Result<StartError> StartMember(const std::string& executablePath, const std::string& arguments,
                               MemberProcess* started) {
  if (started) started->Close();
  const std::optional<std::string> composed = ComposeMemberCommandLine(executablePath, arguments);
  if (!composed)
    return Result<StartError>::Fail(StartError::CommandLineTooLong,
                                    std::to_string(arguments.size()) + " bytes of arguments don't fit");

  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> commandLine(composed->begin(), composed->end());
  commandLine.push_back('\0');

  // Only the size and the show command are set; without STARTF_USESHOWWINDOW the started
  // program shows its windows as it decides.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.wShowWindow = SW_SHOWNA;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(executablePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &process)) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return Result<StartError>::Fail(missing ? StartError::ProgramMissing : StartError::NotStarted,
                                    "CreateProcess error " + std::to_string(error));
  }
  CloseHandle(process.hThread);
  MemberProcess member(process.hProcess);
  if (started) *started = std::move(member);
  return Result<StartError>::Ok();
}

std::string PageArgument(HWND pageWindow) {
  return FormatPageArgument(reinterpret_cast<std::uintptr_t>(pageWindow));
}

}  // namespace rotation
