#pragma once
// The display mode of a full-screen run: switched at its start when the settings ask for
// another mode than the desktop's, the desktop's put back at its end.
#include "settings/settings.h"

class DisplayModeSwitch {
 public:
  enum class Outcome {
    DesktopWanted,     // the settings keep the desktop's mode
    AlreadyDesktop,    // the saved mode is the desktop's: no switch needed
    Switched,
    Refused,           // the display refused the saved mode; the desktop's stays
  };
  // What to make of the outcome for the settings is the caller's.
  Outcome Enter(const Settings& settings);
  // Puts back the mode the display settings hold for the desktop.
  void Leave();
};
