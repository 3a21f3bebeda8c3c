#include "shell/display_power.h"

#include <cstring>

namespace {

// GUID_CONSOLE_DISPLAY_STATE: its data is one DWORD, 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr LPARAM kMonitorOff = 2;

}  // namespace

void DisplayPower::Register(HWND window) {
  Unregister();
  notification_ = RegisterPowerSettingNotification(window, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void DisplayPower::Unregister() {
  if (notification_) UnregisterPowerSettingNotification(notification_);
  notification_ = nullptr;
}

bool DisplayPower::OnPowerBroadcast(WPARAM event, LPARAM data) {
  if (event != PBT_POWERSETTINGCHANGE || data == 0) return false;
  const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
  if (!IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) || setting->DataLength < sizeof(DWORD)) return false;
  DWORD state = 0;
  std::memcpy(&state, setting->Data, sizeof state);
  return Set(state == 0);
}

bool DisplayPower::OnMonitorPower(LPARAM state) { return Set(state == kMonitorOff); }

bool DisplayPower::Set(bool asleep) {
  if (asleep == asleep_) return false;
  asleep_ = asleep;
  return true;
}
