#pragma once
// Values of the test prefix's registry, below HKEY_CURRENT_USER.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

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

// A value stored byte for byte as given, whatever its type.
inline bool SetRawValue(const std::string& key, const char* name, DWORD type, const std::vector<BYTE>& data) {
  return RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, type, data.data(), static_cast<DWORD>(data.size())) ==
         ERROR_SUCCESS;
}

inline bool SetStringValue(const std::string& key, const char* name, const std::string& text) {
  return RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, text.c_str(),
                         static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

// A value set for the test's time, then put back as it was (deleted when it wasn't there).
class ScopedValue {
 public:
  ScopedValue(std::string key, const char* name) : key_(std::move(key)), name_(name) {
    DWORD size = 0;
    had_ = RegGetValueA(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_ANY, &type_, nullptr, &size) == ERROR_SUCCESS;
    old_.resize(size);
    if (had_) RegGetValueA(HKEY_CURRENT_USER, key_.c_str(), name, RRF_RT_ANY, &type_, old_.data(), &size);
  }
  ~ScopedValue() {
    if (!had_)
      Delete();
    else
      RegSetKeyValueA(HKEY_CURRENT_USER, key_.c_str(), name_, type_, old_.data(), static_cast<DWORD>(old_.size()));
  }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

  void Set(const std::string& text) { SetStringValue(key_, name_, text); }
  void Set(DWORD number) { SetDwordValue(key_, name_, number); }
  void Delete() { RegDeleteKeyValueA(HKEY_CURRENT_USER, key_.c_str(), name_); }

 private:
  std::string key_;
  const char* name_;
  bool had_ = false;
  DWORD type_ = 0;
  std::vector<char> old_;
};
