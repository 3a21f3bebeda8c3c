#pragma once
// What the installed tellaro.scr does for the user signed in at the desktop when the installer
// asks. The installer runs elevated and writes nothing of a user's own; it starts these
// through the desktop's shell, so that they run as that user, without elevation:
//   "/makecurrent"  after an installation with the "current screensaver" component: the
//                   registration, as at every start, and Tellaro as the current screensaver;
//   "/unregister"   before the uninstallation removes the programs: the screensaver Tellaro
//                   replaced comes back, the registration goes, and so does the catalogue's
//                   cache in the user's folder. The user's settings stay.
// Only the installed program acts on them; any other copy ends at once.
#include <optional>
#include <string>

namespace user_steps {

enum class Step { MakeCurrent, Unregister };

// The step that the program's command line (what follows its name) asks for, if any.
std::optional<Step> StepOf(const std::string& commandLineText);

void Run(Step step);

}  // namespace user_steps
