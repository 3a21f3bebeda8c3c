#include "settings/collection_registry.h"

#include <cstring>

#include "framework/file_paths.h"
#include "settings/registry_names.h"

namespace collection_registry {

namespace {

using registry_names::kExecutablePath;
using registry_names::kInstallPath;
using registry_names::kListKey;
using registry_names::kProductKey;
using registry_names::kStartRandom;

// The text of a REG_SZ value read into a kTextBufferSize buffer: up to its terminator, or
// all of it when it was stored without one and still leaves room for it. Empty otherwise.
std::string TextFrom(DWORD type, const char* data, DWORD size) {
  if (type != REG_SZ) return std::string();
  const std::size_t length = strnlen(data, size);
  return length < kTextBufferSize ? std::string(data, length) : std::string();
}

std::string ReadText(const RegistryKey& collection, const char* subkey, const char* name) {
  char data[kTextBufferSize];
  DWORD type = REG_NONE;
  DWORD size = sizeof data;
  if (collection.Query(subkey, name, &type, data, &size) != ERROR_SUCCESS) return std::string();
  return TextFrom(type, data, size);
}

bool WriteText(const RegistryKey& collection, const char* subkey, const char* name, const std::string& text) {
  if (text.size() >= kTextBufferSize) return false;
  return collection.Set(subkey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

}  // namespace

bool ReadStartRandom(const RegistryKey& collection) {
  unsigned char data[4] = {};
  DWORD type = REG_NONE;
  DWORD size = sizeof data;
  if (collection.Query(nullptr, kStartRandom, &type, data, &size) != ERROR_SUCCESS) return false;
  if (type != REG_DWORD || size == 0) return false;
  DWORD value = 0;
  std::memcpy(&value, data, size);
  return value != 0;
}

bool WriteStartRandom(const RegistryKey& collection, bool on) {
  return collection.WriteDword(nullptr, kStartRandom, on ? 1 : 0);
}

std::vector<CollectionEntry> ReadMembers(const RegistryKey& collection) {
  std::vector<CollectionEntry> members;
  RegistryKey list;
  if (!list.OpenPlain(collection.Handle(), kListKey)) return members;
  for (DWORD index = 0;; ++index) {
    // Every call gets both buffers at full capacity: a long name after a short one
    // must not be cut off by the length the previous call left behind.
    char name[kTextBufferSize];
    char title[kTextBufferSize];
    DWORD nameSize = sizeof name;
    DWORD titleSize = sizeof title;
    DWORD type = REG_NONE;
    const LONG result = list.Enumerate(index, name, &nameSize, &type, title, &titleSize);
    // A value too long for its buffer is that one member left out, not the end of the list.
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) break;
    const std::string keyName(name, nameSize);
    std::string path = ReadExecutablePath(collection, keyName);
    if (!fw::FileExists(path)) continue;
    members.push_back(CollectionEntry{TextFrom(type, title, titleSize), keyName, std::move(path)});
  }
  return members;
}

std::string ReadExecutablePath(const RegistryKey& collection, const std::string& memberKey) {
  // An empty name would be the collection key itself, which is no member's.
  if (memberKey.empty()) return std::string();
  return ReadText(collection, memberKey.c_str(), kExecutablePath);
}

std::string ReadInstallPath(const RegistryKey& collection) { return ReadText(collection, kProductKey, kInstallPath); }

std::string ReadListTitle(const RegistryKey& collection, const std::string& memberKey) {
  return ReadText(collection, kListKey, memberKey.c_str());
}

bool WriteListTitle(const RegistryKey& collection, const std::string& memberKey, const std::string& title) {
  return WriteText(collection, kListKey, memberKey.c_str(), title);
}

bool WriteExecutablePath(const RegistryKey& collection, const std::string& memberKey, const std::string& path) {
  return WriteText(collection, memberKey.c_str(), kExecutablePath, path);
}

bool WriteInstallPath(const RegistryKey& collection, const std::string& path) {
  return WriteText(collection, kProductKey, kInstallPath, path);
}

std::wstring ReadInstallFolder(const RegistryKey& collection) {
  std::wstring folder;
  return collection.QueryText(kProductKey, kInstallPath, &folder) == ERROR_SUCCESS ? folder : std::wstring();
}

void RemoveRegistration() {
  RegistryKey software;
  if (!software.Open(HKEY_CURRENT_USER, "Software")) return;
  const std::string collection = registry_names::kCollectionKey + std::strlen("Software\\");  // below "Software"
  const std::string company = collection.substr(0, collection.find('\\'));
  const std::string list = collection + "\\" + kListKey, member = collection + "\\" + kProductKey;
  software.DeleteValue(list.c_str(), kProductKey);
  software.DeleteValue(member.c_str(), kExecutablePath);
  software.DeleteValue(member.c_str(), kInstallPath);
  for (const std::string& key : {list, member, collection, company}) software.DeleteSubkeyIfEmpty(key.c_str());
}

}  // namespace collection_registry
