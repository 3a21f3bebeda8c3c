#pragma once
// The cache below the installation folder, and nothing outside it:
//   <install>web\update.xml                 the last catalogue downloaded, byte for byte
//   <install>web\<ID>\screenshot.jpg        each product's screenshot (JPEG)
//   <install>web\<ID>\icon.bmp              each product's 32x32 icon (magenta transparent)
// plus the temporary files of a write under way (catalogue/cache_names.h).
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/catalogue_records.h"
#include "catalogue/product_pictures.h"

inline constexpr char kCatalogueFile[] = "web\\update.xml";  // kCatalogueFileName in the cache folder

// "<install>web\".
std::string CacheFolder(const std::string& installPath);

// "<install>web\<ID>\", or empty when the files in it would have paths too long for the
// system's file functions.
std::string ProductFolder(const std::string& installPath, const std::string& id);

// "screenshot.jpg" or "icon.bmp".
const char* PictureFileName(ProductPicture picture);

// The size of the picture file at `path` when it passes its check, -1 otherwise (missing,
// too large, not the picture it should be).
int64_t CheckedPictureSize(const std::string& path, ProductPicture picture);

// Removes the folder of every product that `listed` doesn't hold (IDs compared without
// regard to ASCII case, as Windows names folders): the files that the cache writes in it,
// then the folder itself if that left it empty. Folders that are links are left alone.
void RemoveUnlistedProducts(const std::string& installPath, const std::vector<CatalogueEntry>& listed);

// Brings the cache back to what the last good update left: the folders of products that the
// cached catalogue doesn't list go (as RemoveUnlistedProducts), and the temporary files of
// writes that never ended. Returns the bytes of temporary files that had to stay.
uint64_t RestoreLastGoodCache(const std::string& installPath);
