#pragma once
// The ten settings, once: registry value name, member of the record, default and the range
// a front end lets the user choose (the video mode's from settings/setting_ranges.h, the
// scene's from scene/scene_options.h, where its defaults live too). Loading, saving, the
// defaults and Restore Defaults all walk this table, in its order (the order the values are
// read and written). The names are the collection's registry names, shared with its other
// programs.
#include <cstdint>

#include "scene/scene_options.h"
#include "settings/setting_ranges.h"
#include "settings/settings.h"

struct SettingField {
  const char* registryName;
  int32_t Settings::*member;
  int32_t defaultValue;
  ValueRange range;
  bool keptByRestoreDefaults;  // Restore Defaults leaves the stored value
};

inline constexpr SettingField kSettingFields[] = {
    {"XResolution", &Settings::XResolution, 1024, kPixelsRange, false},
    {"YResolution", &Settings::YResolution, 768, kPixelsRange, false},
    {"ColorDepth", &Settings::ColorDepth, 16, kColorDepthRange, false},
    {"AnimationSpeed", &Settings::AnimationSpeed, kSceneOptionDefaults.animationSpeed, kAnimationSpeedRange, false},
    {"CamMode", &Settings::CamMode, kSceneOptionDefaults.cameraTour, kCameraTourRange, false},
    {"NightSide", &Settings::NightSide, kSceneOptionDefaults.nightSide, kSwitchRange, false},
    {"CurrentVideomode", &Settings::CurrentVideomode, 1, kSwitchRange, false},  // 1: the desktop's mode
    {"DemoMode", &Settings::DemoMode, 0, kSwitchRange, false},                  // 1: mouse moves do not end the run
    {"RandomCameraStart", &Settings::RandomCameraStart, kSceneOptionDefaults.randomStart, kSwitchRange, true},
    {"Monitors", &Settings::Monitors, 0, kSwitchRange, false},  // 1: the planet on every monitor, 0: the main one
};
