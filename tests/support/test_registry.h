#pragma once
// DWORD values of the test prefix's registry, below HKEY_CURRENT_USER.
#include <windows.h>

#include <string>

#include "settings/registry_names.h"

// This screensaver's own settings key.
inline const std::string kTellaroKey = std::string(registry_names::kCollectionKey) + "\\Tellaro";

inline bool SetDwordValue(const std::string& key, const char* name, DWORD value) {
  HKEY handle;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const bool set = RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4) == ERROR_SUCCESS;
  RegCloseKey(handle);
  return set;
}

// The value, or `missing` when it is not there as a DWORD.
inline DWORD DwordValue(const std::string& key, const char* name, DWORD missing = 0xDEADBEEF) {
  DWORD value = missing, size = 4;
  if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return missing;
  return value;
}
