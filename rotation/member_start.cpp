#include "rotation/member_start.h"

#include <cstdint>
#include <vector>

#include "rotation/member_command_line.h"

namespace rotation {

bool StartMember(const std::string& executablePath, const std::string& arguments, bool waitForExit,
                 DWORD* error) {
  auto fail = [error](DWORD code) {
    if (error) *error = code;
    SetLastError(code);
    return false;
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

  if (waitForExit) WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (error) *error = ERROR_SUCCESS;
  return true;
}

std::string PageArgument(HWND pageWindow) {
  return FormatPageArgument(reinterpret_cast<std::uintptr_t>(pageWindow));
}

}  // namespace rotation
