#pragma once
// The member's registration for whichever user starts an installed program. The installer
// runs elevated and can register only the account it runs as; every other account of the
// machine gets its registration from the installed programs themselves, the first time one
// of them starts for it. Both programs (tellaro.scr and randomizer.exe) call this first.

namespace user_registration {

// The "List" entry's data, as the installer writes it too.
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
// registration (the installer's, with the folder chosen there) stays as it is, and the
// user's settings values are never written.
void RegisterInstalledProgramForUser();

}  // namespace user_registration
