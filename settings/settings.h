#pragma once
// The user's settings of the screensaver and the collection's installed members.
// The record is plain data; Load, Save, RestoreDefaults and GetInstallPath talk to the
// registry and exist in the Windows build only.
#include <cstdint>
#include <string>
#include <vector>

// A member of the collection as the registry's "List" key names it.
struct CollectionEntry {
  std::string title;           // the "List" value's data
  std::string keyName;         // the "List" value's name: the member's subkey
  std::string executablePath;  // the member's "ExecutablePath"
};

// Copies are whole copies. The ten integers, their registry names, defaults and ranges are
// listed once, in settings/setting_fields.h.
class Settings {
 public:
  Settings();  // the defaults, an empty path and no members

  bool Load();             // false when the collection key cannot be opened; fields then unchanged
  bool Save();             // writes the ten settings; false when the collection key cannot be created
  void RestoreDefaults();  // load, reset all but RandomCameraStart, save

  static std::string GetInstallPath();

  int32_t XResolution;
  int32_t YResolution;
  int32_t ColorDepth;
  int32_t CurrentVideomode;
  int32_t RandomCameraStart;
  int32_t AnimationSpeed;
  int32_t CamMode;
  int32_t NightSide;
  int32_t DemoMode;
  int32_t Monitors;  // 1: each monitor shows the planet; 0: the others stay black
  std::string InstallPath;
  std::vector<CollectionEntry> members;

 private:
  void ResetAllButKeptValues();
};
