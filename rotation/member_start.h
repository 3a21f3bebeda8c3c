#pragma once
// Starting a collection member's program: used by the launcher for every run and by the
// settings dialog for a sibling's settings page.
#include <windows.h>

#include <string>

namespace rotation {

// Starts `executablePath` with the command line "\"<path>\" <arguments>" and, when
// `waitForExit` is set, blocks until the started program ends. Returns true when the program
// was started; on false, *error (if given) holds the reason: CreateProcessA's error code, or
// ERROR_FILENAME_EXCED_RANGE for an argument string that does not fit the command line (it
// is refused, nothing starts).
bool StartMember(const std::string& executablePath, const std::string& arguments, bool waitForExit,
                 DWORD* error = nullptr);

// "-1:<handle>" for the settings page that a member places inside `pageWindow`.
std::string PageArgument(HWND pageWindow);

}  // namespace rotation
