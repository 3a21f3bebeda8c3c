#pragma once
// The member's registration for whichever user starts an installed program. The installer
// runs elevated and writes nothing of a user's own: every account of the machine, the one
// that installed included, gets its registration from the installed programs themselves, the
// first time one of them starts for it. Both programs (tellaro.scr and randomizer.exe) call
// this first.
#include <string>

namespace user_registration {

// The "List" entry's data.
inline constexpr char kMemberTitle[] = "Tellaro";
// The installed screensaver's file name in the system folder.
inline constexpr char kInstalledProgram[] = "tellaro.scr";

// Only a program in the system folder, beside the installed tellaro.scr, registers; any
// other copy (a build, a download elsewhere) and a launcher whose tellaro.scr was
// uninstalled write nothing. It completes the current user's registration: the "List"
// entry, "ExecutablePath" naming the installed tellaro.scr and "InstallPath", the folder
// "Kestrune\Tellaro\" below the user's local application data (created), are each written
// only when missing or unreadable by the collection's rules (collection_registry.h), and
// "ExecutablePath" also when it names no existing file. A usable
// registration stays as it is, and the user's settings values are never written.
void RegisterInstalledProgramForUser();

// The installed tellaro.scr when the running program is one of the installed ones (in the
// system folder, beside an existing tellaro.scr); empty for any other copy.
std::string InstalledProgram();

}  // namespace user_registration
