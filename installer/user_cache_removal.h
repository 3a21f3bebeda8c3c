#pragma once
// What the settings dialog's catalogue cache wrote below a user's folder, removed when Tellaro
// is uninstalled for that user: "web\update.xml", each product's "screenshot.jpg" and
// "icon.bmp", the cache's temporary files and its probe of a folder, then the folders that this
// leaves empty, the user's folder itself included. Anything else stays, and nothing is removed
// through a link.
#include <string>

namespace user_cache_removal {

// `folder`: the user's "InstallPath", with its final backslash.
void RemoveCatalogueCache(const std::wstring& folder);

}  // namespace user_cache_removal
