#pragma once
// The nine settings, once: registry value name, member of the record, default and the range
// the settings page edits. Loading, saving, the defaults and Restore Defaults all walk this
// table, in its order (the order the values are read and written). The names are the
// collection's registry names, shared with its other programs.
#include <cstdint>
#include <limits>

#include "settings/settings.h"

struct SettingField {
  const char* registryName;
  int32_t Settings::*member;
  int32_t defaultValue;
  int32_t minimum;
  int32_t maximum;
  bool keptByRestoreDefaults;  // Restore Defaults leaves the stored value
};

inline constexpr int32_t kMaxPixels = 16384;

inline constexpr SettingField kSettingFields[] = {
    {"XResolution", &Settings::XResolution, 1024, 1, kMaxPixels, false},
    {"YResolution", &Settings::YResolution, 768, 1, kMaxPixels, false},
    {"ColorDepth", &Settings::ColorDepth, 16, 1, 32, false},
    {"AnimationSpeed", &Settings::AnimationSpeed, 50, 0, 100, false},  // the slider's range
    {"CamMode", &Settings::CamMode, 0, 0, 2, false},                   // the camera list's three tours
    {"NightSide", &Settings::NightSide, 1, 0, 1, false},
    {"CurrentVideomode", &Settings::CurrentVideomode, 1, 0, 1, false},  // 1: the desktop's mode
    {"DemoMode", &Settings::DemoMode, 0, 0, 1, false},                  // 1: mouse moves do not end the run
    {"RandomCameraStart", &Settings::RandomCameraStart, 1, 0, 1, true},
};
