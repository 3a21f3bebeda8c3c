// Loading and saving the settings record: the registry side of Settings.
#include <windows.h>

#include "settings/collection_members.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"
#include "settings/setting_fields.h"
#include "settings/settings.h"

namespace {

using registry_names::kProductKey;

std::string ReadInstallPath(const RegistryKey& collection) {
  char path[1024];
  DWORD size = sizeof path;
  if (!collection.ReadString(kProductKey, registry_names::kInstallPath, path, &size)) return std::string();
  return path;
}

}  // namespace

bool Settings::Load() {
  RegistryKey collection;
  if (!collection.Open(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return false;
  for (const SettingField& field : kSettingFields)
    collection.ReadDword(kProductKey, field.registryName, &(this->*field.member));
  InstallPath = ReadInstallPath(collection);
  members = ReadCollectionMembers(collection.Handle());
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
  return ReadInstallPath(collection);
}
