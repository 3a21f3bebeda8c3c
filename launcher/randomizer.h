#pragma once
// The launcher that the screensaver host starts in this screensaver's place: it starts a
// random installed member of the collection for a full-screen run when "StartRandom" is on,
// and this screensaver otherwise, handing the host's argument string on unchanged.
#include <cstdint>
#include <string>

#include "base/result.h"
#include "rotation/member_start.h"

namespace launcher {

inline constexpr char kErrorCaption[] = "Screensaver error";

// The text of the error box, ending with the maker's web address.
std::string InstallErrorText();

// This screensaver's own "ExecutablePath", read as every program of the collection reads a
// path (settings/collection_registry.h); empty when there is none.
std::string OwnExecutablePath();

// The program a run with `arguments` starts: in random mode (full-screen run and
// "StartRandom" on) the member picked with `seed` among those whose program exists,
// otherwise, or without any such member, this screensaver's own program. Empty when there
// is nothing to start.
std::string ChooseExecutablePath(const std::string& arguments, uint32_t seed);

// One whole run: complete the user's registration when this is the installed launcher
// (user_registration.h), choose, start, wait during a full-screen run. Success when a program
// ran; ProgramMissing when nothing could be started for want of a program file (none
// registered included), which is the user's to repair; the start's failure otherwise.
Result<rotation::StartError> RunRandomizer(const std::string& arguments);

}  // namespace launcher
