// Loading and saving the settings record: the registry side of Settings.
#include <windows.h>

#include "settings/collection_registry.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"
#include "settings/setting_fields.h"
#include "settings/settings.h"

using registry_names::kProductKey;

bool Settings::Load() {
  RegistryKey collection;
  if (!collection.Open(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return false;
  for (const SettingField& field : kSettingFields)
    collection.ReadDword(kProductKey, field.registryName, &(this->*field.member));
  InstallPath = collection_registry::ReadInstallPath(collection);
  members = collection_registry::ReadMembers(collection);
  return true;
}

bool Settings::Save() {
  RegistryKey collection;
  if (!collection.Create(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return false;
  for (const SettingField& field : kSettingFields)
    collection.WriteDword(kProductKey, field.registryName, this->*field.member);
  return true;
}

void Settings::RestoreDefaults() {
  Load();
  ResetAllButKeptValues();
  Save();
}

std::string Settings::GetInstallPath() {
  RegistryKey collection;
  if (!collection.Open(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return std::string();
  return collection_registry::ReadInstallPath(collection);
}
