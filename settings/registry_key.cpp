#include "settings/registry_key.h"

#include <cstring>

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

bool RegistryKey::ReadDword(const char* subkey, const char* name, int32_t* destination) const {
  ScopedSubkey key(key_, subkey, false);
  if (!key.get()) return false;
  unsigned char bytes[4];
  DWORD size = sizeof bytes;
  if (RegQueryValueExA(key.get(), name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return false;
  if (size != sizeof bytes) return false;
  std::memcpy(destination, bytes, sizeof bytes);
  return true;
}

bool RegistryKey::ReadString(const char* subkey, const char* name, char* buffer, DWORD* size) const {
  if (!buffer || !size || *size == 0) return false;
  ScopedSubkey key(key_, subkey, false);
  if (!key.get()) return false;
  // The whole buffer is offered: a text that fills it with its terminator still fits.
  DWORD length = *size;
  LONG result = RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &length);
  // Stored without a terminator: it still has to be ended inside the buffer.
  if (result == ERROR_SUCCESS && length == *size && buffer[length - 1] != '\0') result = ERROR_MORE_DATA;
  if (result != ERROR_SUCCESS) {
    buffer[0] = '\0';
    return false;
  }
  if (length == 0 || buffer[length - 1] != '\0') buffer[length] = '\0';
  *size = length;
  return true;
}

bool RegistryKey::WriteDword(const char* subkey, const char* name, int32_t value) const {
  ScopedSubkey key(key_, subkey, true);
  if (!key.get()) return false;
  DWORD data = static_cast<DWORD>(value);
  return RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
         ERROR_SUCCESS;
}
