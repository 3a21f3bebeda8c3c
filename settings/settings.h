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

class Settings {
 public:
  Settings() = default;
  // Copying takes the nine settings and the install path; the member list is not copied.
  Settings(const Settings& other);
  Settings& operator=(const Settings& other);

  bool Load();             // false when the collection key cannot be opened; fields then unchanged
  bool Save();             // writes the nine settings; false when the collection key cannot be created
  void RestoreDefaults();  // load, reset all but RandomCameraStart, save

  static std::string GetInstallPath();
  static bool FileExists(const std::string& path);

  int32_t XResolution = 1024;
  int32_t YResolution = 768;
  int32_t ColorDepth = 16;
  int32_t CurrentVideomode = 1;  // 1: keep the desktop's mode
  int32_t RandomCameraStart = 1;
  int32_t AnimationSpeed = 50;
  int32_t CamMode = 0;
  int32_t NightSide = 1;
  int32_t DemoMode = 0;  // 1: mouse moves do not end the run
  std::string InstallPath;
  std::vector<CollectionEntry> members;

 private:
  void CopySettingsFrom(const Settings& other);
  void ResetAllButRandomStart();
};
