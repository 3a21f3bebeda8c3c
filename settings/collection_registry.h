#pragma once
// The collection's shared registry values, read and written here only: "StartRandom", the
// "List" of members, each member's "ExecutablePath" and this screensaver's "InstallPath".
// The screensaver, its settings dialog and the launcher read them by the same rules:
//  - a path or a title is a REG_SZ text that ends inside its 1,024-byte buffer (a terminator
//    may be missing if the text still leaves room for one);
//  - the switch "StartRandom" is a REG_DWORD of 1 to 4 bytes.
// A value of any other type, size or length reads as absent, exactly as a missing one.
// Every function takes the open collection key; the settings' own ten integers are the
// settings store's (settings_registry.cpp).
#include <cstddef>
#include <string>
#include <vector>

#include "settings/registry_key.h"
#include "settings/settings.h"

namespace collection_registry {

// Paths and titles, terminator included; a longer one does not fit.
inline constexpr std::size_t kTextBufferSize = 1024;

// "StartRandom": on only as a REG_DWORD with data and a non-zero value.
bool ReadStartRandom(const RegistryKey& collection);
bool WriteStartRandom(const RegistryKey& collection, bool on);

// The "List" members whose "ExecutablePath" names an existing file, in registry order. A
// member is left out when its value name or its data does not fit a 1,024-byte buffer, or
// its key or its path is missing or unusable; a title that is no text shows as empty. An
// absent "List" key gives no members.
std::vector<CollectionEntry> ReadMembers(const RegistryKey& collection);

// "ExecutablePath" of the member key `memberKey`; empty when absent or not a path.
std::string ReadExecutablePath(const RegistryKey& collection, const std::string& memberKey);
// "InstallPath" of this screensaver's key; empty when absent or not a path.
std::string ReadInstallPath(const RegistryKey& collection);
// The "List" title of `memberKey`; empty when absent or not a text.
std::string ReadListTitle(const RegistryKey& collection, const std::string& memberKey);

// Each writes a REG_SZ, creating the key if missing; false for a text the readers would
// refuse as too long, or when the registry refuses the write.
bool WriteListTitle(const RegistryKey& collection, const std::string& memberKey, const std::string& title);
bool WriteExecutablePath(const RegistryKey& collection, const std::string& memberKey, const std::string& path);
bool WriteInstallPath(const RegistryKey& collection, const std::string& path);

// "InstallPath" as the system's wide text, for removing the folder it names whatever its
// script; empty when absent or not a text.
std::wstring ReadInstallFolder(const RegistryKey& collection);

// This screensaver's registration for the current user, as user_registration writes it at
// every start: its "List" entry, its "ExecutablePath" and "InstallPath", then the keys that
// this leaves empty up to the company's key. The user's settings and anything else stay.
void RemoveRegistration();

}  // namespace collection_registry
