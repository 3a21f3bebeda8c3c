#pragma once
// Where the collection keeps its state: everything lives under HKEY_CURRENT_USER.

#include "base/product.h"

namespace registry_names {

inline constexpr char kCollectionKey[] = "Software\\Kestrune\\Halcyonix";
inline constexpr const char* kProductKey = kOwnProductKey;  // this screensaver's subkey of the collection key
inline constexpr char kListKey[] = "List";        // value name = member key, data = member title
inline constexpr char kStartRandom[] = "StartRandom";
inline constexpr char kExecutablePath[] = "ExecutablePath";
inline constexpr char kInstallPath[] = "InstallPath";

}  // namespace registry_names
