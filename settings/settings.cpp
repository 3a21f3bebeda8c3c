#include "settings/settings.h"

#include <cstdio>

#include "settings/setting_fields.h"

Settings::Settings() {
  for (const SettingField& field : kSettingFields) this->*field.member = field.defaultValue;
}

void Settings::ResetAllButKeptValues() {
  for (const SettingField& field : kSettingFields)
    if (!field.keptByRestoreDefaults) this->*field.member = field.defaultValue;
}

bool Settings::FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}
