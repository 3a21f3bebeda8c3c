#include "settings/settings.h"

#include "settings/setting_fields.h"

Settings::Settings() {
  for (const SettingField& field : kSettingFields) this->*field.member = field.defaultValue;
}

void Settings::ResetAllButKeptValues() {
  for (const SettingField& field : kSettingFields)
    if (!field.keptByRestoreDefaults) this->*field.member = field.defaultValue;
}
