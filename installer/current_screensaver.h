#pragma once
// The user's choice of screensaver ("SCRNSAVE.EXE" and "ScreenSaveActive" under
// HKEY_CURRENT_USER\Control Panel\Desktop), and the choice that Tellaro replaced, remembered
// in the member's key ("PreviousScreenSaver", "PreviousScreenSaveActive"; an empty text stands
// for a value that was missing) until Tellaro hands the choice back.
#include <string>

#include "base/result.h"

namespace current_screensaver {

enum class Code {
  Ok,
  Unreadable,  // the present choice could not be read, so it is left as it is
  Unwritable,
};

// Makes `program` the user's screensaver, with screensavers switched on. The choice it
// replaces is remembered; when `program` is current already, the one remembered earlier stays.
Result<Code> MakeCurrent(const std::wstring& program);

// When `program` is still current, the remembered choice comes back (no screensaver when none
// is remembered); a screensaver chosen since stays. Nothing stays remembered afterwards.
Result<Code> HandBack(const std::wstring& program);

}  // namespace current_screensaver
