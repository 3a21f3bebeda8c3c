#pragma once
// Starting a program from the elevated installer as the user who is signed in at the desktop,
// with that user's own rights and nothing of the installer's elevation. The program becomes a
// child of the desktop's shell (the process of the shell's window) and so runs with the shell's
// token; when a standard user installs with an administrator's credentials, that is the
// standard user. It gets that user's environment where it can be had, and starts in the
// system folder.
#include <windows.h>

#include <string>

#include "base/result.h"

namespace desktop_user {

enum class Code {
  Ok,
  NoShell,      // no desktop shell to ask (a service, a remote install without a desktop)
  ShellDenied,  // its process could not be opened
  StartFailed,
};

// Starts `commandLine`; *process receives the new process's handle, which the caller closes.
Result<Code> Start(const std::wstring& commandLine, HANDLE* process);

}  // namespace desktop_user
