#include "settings/collection_members.h"

#include <cstring>

#include "framework/file_paths.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"

std::vector<CollectionEntry> ReadCollectionMembers(HKEY collectionKey) {
  std::vector<CollectionEntry> members;
  RegistryKey list;
  if (!list.OpenPlain(collectionKey, registry_names::kListKey)) return members;

  RegistryKey collection;
  collection.Open(collectionKey, nullptr);
  constexpr DWORD kBufferSize = 1024;
  for (DWORD index = 0;; ++index) {
    // Every call gets both buffers at full capacity: a long name after a short one
    // must not be cut off by the length the previous call left behind.
    char name[kBufferSize];
    char title[kBufferSize + 1];  // one more, to end a title that fills its buffer unterminated
    DWORD nameSize = kBufferSize;
    DWORD titleSize = kBufferSize;
    const LONG result = RegEnumValueA(list.Handle(), index, name, &nameSize, nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(title), &titleSize);
    // A value too long for its buffer is that one member left out, not the end of the list.
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) break;
    title[titleSize <= kBufferSize ? titleSize : kBufferSize] = '\0';

    char path[kBufferSize];
    DWORD pathSize = kBufferSize;
    if (!collection.ReadString(name, registry_names::kExecutablePath, path, &pathSize)) continue;
    if (!fw::FileExists(path)) continue;
    members.push_back(CollectionEntry{title, name, path});
  }
  return members;
}

bool StartRandomIsOn(HKEY collectionKey) {
  DWORD type = REG_NONE;
  unsigned char data[4] = {};
  DWORD size = sizeof data;
  if (RegQueryValueExA(collectionKey, registry_names::kStartRandom, nullptr, &type, data, &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_DWORD || size == 0) return false;
  DWORD value = 0;
  std::memcpy(&value, data, size);
  return value != 0;
}
