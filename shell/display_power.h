#pragma once
// Whether the display is asleep, from the system's display-state notification and from
// SC_MONITORPOWER. While it is, the run draws nothing and its clock stands still; it never
// holds the display awake, and neither report counts as input.
#include <windows.h>

class DisplayPower {
 public:
  ~DisplayPower() { Unregister(); }

  // Asks for the display-state notification (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE).
  void Register(HWND window);
  void Unregister();

  bool Asleep() const { return asleep_; }
  // Each returns true when the state changed.
  bool OnPowerBroadcast(WPARAM event, LPARAM data);
  bool OnMonitorPower(LPARAM state);  // SC_MONITORPOWER: -1 on, 1 low power, 2 off

 private:
  bool Set(bool asleep);

  HPOWERNOTIFY notification_ = nullptr;
  bool asleep_ = false;
};
