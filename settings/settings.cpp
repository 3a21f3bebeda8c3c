#include "settings/settings.h"

#include <cstdio>

Settings::Settings(const Settings& other) { CopySettingsFrom(other); }

Settings& Settings::operator=(const Settings& other) {
  if (this != &other) CopySettingsFrom(other);
  return *this;
}

void Settings::CopySettingsFrom(const Settings& other) {
  XResolution = other.XResolution;
  YResolution = other.YResolution;
  ColorDepth = other.ColorDepth;
  CurrentVideomode = other.CurrentVideomode;
  RandomCameraStart = other.RandomCameraStart;
  AnimationSpeed = other.AnimationSpeed;
  CamMode = other.CamMode;
  NightSide = other.NightSide;
  DemoMode = other.DemoMode;
  InstallPath = other.InstallPath;
  members.clear();
}

void Settings::ResetAllButRandomStart() {
  const Settings defaults;
  XResolution = defaults.XResolution;
  YResolution = defaults.YResolution;
  ColorDepth = defaults.ColorDepth;
  CamMode = defaults.CamMode;
  AnimationSpeed = defaults.AnimationSpeed;
  DemoMode = defaults.DemoMode;
  NightSide = defaults.NightSide;
  CurrentVideomode = defaults.CurrentVideomode;
}

bool Settings::FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}
