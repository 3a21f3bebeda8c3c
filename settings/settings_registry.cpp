// Loading and saving the settings record: the registry side of Settings.
#include <windows.h>

#include "settings/collection_members.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"
#include "settings/settings.h"

namespace {

using registry_names::kProductKey;

struct DwordField {
  const char* name;
  int32_t Settings::*field;
};

// The nine settings in the order they are read and written.
constexpr DwordField kDwordFields[] = {
    {"XResolution", &Settings::XResolution},   {"YResolution", &Settings::YResolution},
    {"ColorDepth", &Settings::ColorDepth},     {"AnimationSpeed", &Settings::AnimationSpeed},
    {"CamMode", &Settings::CamMode},           {"NightSide", &Settings::NightSide},
    {"CurrentVideomode", &Settings::CurrentVideomode}, {"DemoMode", &Settings::DemoMode},
    {"RandomCameraStart", &Settings::RandomCameraStart},
};

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
  for (const DwordField& value : kDwordFields) collection.ReadDword(kProductKey, value.name, &(this->*value.field));
  InstallPath = ReadInstallPath(collection);
  members = ReadCollectionMembers(collection.Handle());
  return true;
}

bool Settings::Save() {
  RegistryKey collection;
  if (!collection.Create(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return false;
  for (const DwordField& value : kDwordFields) collection.WriteDword(kProductKey, this->*value.field, value.name);
  return true;
}

void Settings::RestoreDefaults() {
  Load();
  ResetAllButRandomStart();
  Save();
}

std::string Settings::GetInstallPath() {
  RegistryKey collection;
  if (!collection.Open(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return std::string();
  return ReadInstallPath(collection);
}
