#include "settings/registry_key.h"

#include <cstring>
#include <cwchar>

namespace {

// Opens `subkey` below `key` (or reuses `key` itself when there is none) for one call.
class ScopedSubkey {
 public:
  ScopedSubkey(HKEY key, const char* subkey, bool create) {
    if (!key) return;
    if (!subkey || !*subkey) {
      key_ = key;
      return;
    }
    LONG result = create ? RegCreateKeyExA(key, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                           nullptr, &opened_, nullptr)
                         : RegOpenKeyExA(key, subkey, 0, KEY_ALL_ACCESS, &opened_);
    if (result == ERROR_SUCCESS) key_ = opened_;
    else opened_ = nullptr;
  }
  ~ScopedSubkey() {
    if (opened_) RegCloseKey(opened_);
  }
  ScopedSubkey(const ScopedSubkey&) = delete;
  ScopedSubkey& operator=(const ScopedSubkey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  HKEY opened_ = nullptr;
};

}  // namespace

bool RegistryKey::Open(HKEY parent, const char* path) {
  Close();
  if (RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS) key_ = nullptr;
  return key_ != nullptr;
}

bool RegistryKey::Create(HKEY parent, const char* path) {
  Close();
  if (RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS)
    key_ = nullptr;
  return key_ != nullptr;
}

bool RegistryKey::OpenPlain(HKEY parent, const char* path) {
  Close();
  if (RegOpenKeyA(parent, path, &key_) != ERROR_SUCCESS) key_ = nullptr;
  return key_ != nullptr;
}

void RegistryKey::Close() {
  if (key_) RegCloseKey(key_);
  key_ = nullptr;
}

LONG RegistryKey::Query(const char* subkey, const char* name, DWORD* type, void* data, DWORD* size) const {
  ScopedSubkey key(key_, subkey, false);
  if (!key.get()) return ERROR_FILE_NOT_FOUND;
  return RegQueryValueExA(key.get(), name, nullptr, type, static_cast<BYTE*>(data), size);
}

LONG RegistryKey::Enumerate(DWORD index, char* name, DWORD* nameSize, DWORD* type, void* data,
                            DWORD* dataSize) const {
  if (!key_) return ERROR_INVALID_HANDLE;
  return RegEnumValueA(key_, index, name, nameSize, nullptr, type, static_cast<BYTE*>(data), dataSize);
}

bool RegistryKey::Set(const char* subkey, const char* name, DWORD type, const void* data, DWORD size) const {
  ScopedSubkey key(key_, subkey, true);
  if (!key.get()) return false;
  return RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool RegistryKey::ReadDword(const char* subkey, const char* name, int32_t* destination) const {
  unsigned char bytes[4];
  DWORD size = sizeof bytes;
  if (Query(subkey, name, nullptr, bytes, &size) != ERROR_SUCCESS || size != sizeof bytes) return false;
  std::memcpy(destination, bytes, sizeof bytes);
  return true;
}

bool RegistryKey::WriteDword(const char* subkey, const char* name, int32_t value) const {
  const DWORD data = static_cast<DWORD>(value);
  return Set(subkey, name, REG_DWORD, &data, sizeof data);
}

LONG RegistryKey::QueryText(const char* subkey, const char* name, std::wstring* text) const {
  ScopedSubkey key(key_, subkey, false);
  if (!key.get()) return ERROR_FILE_NOT_FOUND;
  const std::wstring wideName(name, name + std::strlen(name));  // value names are ASCII
  std::wstring read(MAX_PATH, L'\0');
  LONG status = ERROR_MORE_DATA;
  // The expansion's length is known only once it was tried.
  for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
    DWORD size = static_cast<DWORD>(read.size() * sizeof(wchar_t));
    status = RegGetValueW(key.get(), nullptr, wideName.c_str(), RRF_RT_REG_SZ, nullptr, read.data(), &size);
    if (status == ERROR_MORE_DATA) read.resize(size / sizeof(wchar_t) + MAX_PATH);
  }
  if (status == ERROR_SUCCESS) *text = read.substr(0, wcsnlen(read.c_str(), read.size()));
  return status;
}

bool RegistryKey::SetText(const char* subkey, const char* name, const std::wstring& text) const {
  ScopedSubkey key(key_, subkey, true);
  const std::wstring wideName(name, name + std::strlen(name));
  return key.get() && RegSetValueExW(key.get(), wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RegistryKey::DeleteValue(const char* subkey, const char* name) const {
  ScopedSubkey key(key_, subkey, false);
  if (!key.get()) return true;
  const LONG status = RegDeleteValueA(key.get(), name);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool RegistryKey::DeleteSubkeyIfEmpty(const char* subkey) const {
  DWORD subkeys = 1, values = 1;
  {
    ScopedSubkey key(key_, subkey, false);
    if (!key.get() || RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return false;
  }
  return subkeys == 0 && values == 0 && RegDeleteKeyA(key_, subkey) == ERROR_SUCCESS;
}
