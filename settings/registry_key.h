#pragma once
// One open registry key, closed when replaced or destroyed. Each read or write opens the
// named subkey (if any) with full access, makes exactly one call and closes it again. The
// raw registry calls of the programs are all here.
#include <windows.h>

#include <cstdint>
#include <string>

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

  // One value as it is stored: its type and its bytes in `data` (capacity *size, in/out).
  // Returns the registry's result: ERROR_MORE_DATA when the bytes do not fit.
  LONG Query(const char* subkey, const char* name, DWORD* type, void* data, DWORD* size) const;
  // The value at `index` of this key itself: its name (capacity *nameSize, in/out; ended
  // with a NUL), type and bytes (capacity *dataSize, in/out).
  LONG Enumerate(DWORD index, char* name, DWORD* nameSize, DWORD* type, void* data, DWORD* dataSize) const;
  // Writes one value; the subkey is created if missing.
  bool Set(const char* subkey, const char* name, DWORD type, const void* data, DWORD size) const;

  // Reads 4 bytes whatever the stored type; the destination changes only when exactly
  // 4 bytes were read.
  bool ReadDword(const char* subkey, const char* name, int32_t* destination) const;
  bool WriteDword(const char* subkey, const char* name, int32_t value) const;

  // Texts in the system's wide characters, for paths in any script. QueryText takes a plain
  // or an expandable text (expanded) and returns the registry's result: ERROR_FILE_NOT_FOUND
  // for a missing value or subkey. SetText writes a plain REG_SZ, creating the subkey.
  LONG QueryText(const char* subkey, const char* name, std::wstring* text) const;
  bool SetText(const char* subkey, const char* name, const std::wstring& text) const;
  // True when the value is gone afterwards, also when it never was there.
  bool DeleteValue(const char* subkey, const char* name) const;
  // Deletes `subkey` when it holds neither values nor subkeys; false otherwise.
  bool DeleteSubkeyIfEmpty(const char* subkey) const;

 private:
  HKEY key_ = nullptr;
};
