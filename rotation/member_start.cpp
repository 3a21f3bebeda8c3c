#include "rotation/member_start.h"

#include <cstdint>
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

MemberProcess StartMember(const std::string& executablePath, const std::string& arguments, DWORD* error) {
  auto fail = [error](DWORD code) {
    if (error) *error = code;
    SetLastError(code);
    return MemberProcess();
  };
  const std::optional<std::string> composed = ComposeMemberCommandLine(executablePath, arguments);
  if (!composed) return fail(ERROR_FILENAME_EXCED_RANGE);

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
                      nullptr, nullptr, &startup, &process))
    return fail(GetLastError());

  CloseHandle(process.hThread);
  if (error) *error = ERROR_SUCCESS;
  return MemberProcess(process.hProcess);
}

std::string PageArgument(HWND pageWindow) {
  return FormatPageArgument(reinterpret_cast<std::uintptr_t>(pageWindow));
}

}  // namespace rotation
