#pragma once
// The names the cache itself uses inside its folder "web", beside the products' folders: a
// product ID never equals one of them (catalogue/catalogue_records.h).
#include <string_view>

#include "base/ascii.h"

inline constexpr char kCatalogueFileName[] = "update.xml";
// Temporary files, of a write under way and of the probe of a folder: "tlr<hex>.tmp", made
// unique by the system.
inline constexpr char kTemporaryPrefix[] = "tlr";
inline constexpr char kTemporarySuffix[] = ".tmp";

// The file system's own comparison of these plain ASCII names: without regard to case.
inline bool IsTemporaryName(std::string_view name) {
  const std::string_view suffix = kTemporarySuffix;
  return ascii::StartsWithNoCase(name, kTemporaryPrefix) && name.size() >= suffix.size() &&
         ascii::EqualNoCase(name.substr(name.size() - suffix.size()), suffix);
}
