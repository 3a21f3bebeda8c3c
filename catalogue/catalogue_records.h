#pragma once
// The product records of the catalogue document, read from its key/value pairs. Plain C++:
// both loads (cache and web) share it, and it is tested and fuzzed natively.
#include <string>
#include <string_view>
#include <vector>

#include "base/product.h"
#include "catalogue/xml_pairs.h"

// One product of the catalogue. ScreenshotFile and IconFile hold the addresses after reading
// and the local cache paths after a load.
struct CatalogueEntry {
  std::string ID;
  std::string Title;
  std::string Version;
  std::string DescriptionText;
  std::string DownloadURL;
  std::string ScreenshotFile;
  std::string IconFile;
};

// True when `id` can name a folder of its own below the cache folder and nothing else, on
// every file system and Windows version: 1 to kMaxProductIdLength characters, each an ASCII
// letter or digit, '-', '_' or '.', with no '.' first or last. So no path separator, no
// letter outside ASCII (whose case folding differs between systems), no '~' (short 8.3 names
// have one), no blank or trailing dot (Windows drops those). And not a device name (CON, PRN,
// AUX, NUL, COM0-9, LPT0-9, with any extension), the cache's catalogue file or one of its
// temporary files (catalogue/cache_names.h), in any letter case.
bool IsPlainProductId(std::string_view id);

// Replaces `entries` with the products of the document in document order. This product's own
// entry is left out without reading its other keys. A product is read and then left out when
// its ID is not plain (it would name a folder outside the cache, or none), when an earlier
// product kept has the same ID in another letter case (the file system gives both one folder), or
// when its screenshot, icon or download address is not a secure web address. False, with
// `entries` empty, when the count is missing or above kMaxProducts, or any key of another
// product is missing.
bool ReadProductRecords(const XmlPairs& document, std::vector<CatalogueEntry>* entries);
