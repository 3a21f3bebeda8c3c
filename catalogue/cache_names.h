#pragma once
// The names the cache itself uses inside its folder "web", beside the products' folders: a
// product ID never equals one of them (catalogue/catalogue_records.h).
inline constexpr char kCatalogueFileName[] = "update.xml";
// Temporary files, of a write under way and of the probe of a folder: "tlr<hex>.tmp", made
// unique by the system.
inline constexpr char kTemporaryPrefix[] = "tlr";
inline constexpr char kTemporarySuffix[] = ".tmp";
