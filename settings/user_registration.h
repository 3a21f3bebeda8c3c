#pragma once
// The member's registration for whichever user starts an installed program. The installer
// runs elevated and can register only the account it runs as; every other account of the
// machine gets its registration from the installed programs themselves, the first time one
// of them starts for it. Both programs (tellaro.scr and randomizer.exe) call this first.
#include <optional>
#include <string>

namespace user_registration {

// The "List" entry's data, as the installer writes it too.
inline constexpr char kMemberTitle[] = "Tellaro";
// The installed screensaver's file name in the system folder.
inline constexpr char kInstalledProgram[] = "tellaro.scr";

// What an installed program registers for the user who starts it.
struct Registration {
  std::string executablePath;  // the installed tellaro.scr
  std::string installPath;     // a folder of the user's own, with its final backslash
};

// The registration the running program stands for: only a program in the system folder,
// beside the installed tellaro.scr, stands for one; the installPath is "Kestrune\Tellaro\"
// below the user's local application data folder. None for any other program (a build, a
// copy elsewhere) and when tellaro.scr is gone from the system folder.
std::optional<Registration> InstalledRegistration();

// Completes the current user's registration of this member with `registration`: the "List"
// entry, "ExecutablePath" and "InstallPath" are each written only when missing, and
// "ExecutablePath" also when it names no existing file; a usable registration (the one the
// installer wrote, with the folder chosen there) stays as it is. The install folder is
// created when "InstallPath" is written. The user's settings values are never written.
// Returns true when anything was written.
bool CompleteRegistration(const Registration& registration);

// Both at once: what every start of either program does before it goes on.
void RegisterInstalledProgramForUser();

}  // namespace user_registration
