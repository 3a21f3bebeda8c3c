#pragma once
// One open registry key, closed when replaced or destroyed. Each read or write opens the
// named subkey (if any) with full access, makes exactly one call and closes it again.
#include <windows.h>

#include <cstdint>

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { Close(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool Open(HKEY parent, const char* path);    // existing key, full access
  bool Create(HKEY parent, const char* path);  // created if missing, non-volatile, full access
  bool OpenPlain(HKEY parent, const char* path);  // RegOpenKeyA, as the "List" key is opened
  void Close();
  HKEY Handle() const { return key_; }
  bool IsOpen() const { return key_ != nullptr; }

  // Reads 4 bytes whatever the stored type; the destination changes only when exactly
  // 4 bytes were read.
  bool ReadDword(const char* subkey, const char* name, int32_t* destination) const;
  // Reads into buffer (capacity *size, in/out); the text is always NUL-terminated.
  bool ReadString(const char* subkey, const char* name, char* buffer, DWORD* size) const;
  bool WriteDword(const char* subkey, const char* name, int32_t value) const;

 private:
  HKEY key_ = nullptr;
};
