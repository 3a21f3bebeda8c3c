#pragma once
// The product records of the catalogue document, read from its key/value pairs. Plain C++:
// both loads (cache and web) share it, and it is tested and fuzzed natively.
#include <string>
#include <string_view>
#include <vector>

#include "base/product.h"
#include "catalogue/xml_pairs.h"

// One product of the catalogue. Screenshot and Icon hold the URLs after reading and the local
// cache paths after a load.
struct CatalogueEntry {
  std::string ID;
  std::string Title;
  std::string Version;
  std::string DescriptionText;
  std::string DownloadURL;
  std::string Screenshot;
  std::string Icon;
};

// True when `id` can name a folder of its own below the cache folder and nothing else: not
// empty, not "." or "..", no path separator, drive colon, wildcard or other character that
// Windows refuses in a name (" < > |), no control character, no trailing dot or blank (Windows
// drops them), and not a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension).
bool IsPlainProductId(std::string_view id);

// Replaces `entries` with the products of the document in document order. This product's own
// entry is left out without reading its other keys; a product whose ID is not plain is read
// and then left out, since its ID would name a folder outside the cache. False, with
// `entries` empty, when the count or any key of another product is missing.
bool ReadProductRecords(const XmlPairs& document, std::vector<CatalogueEntry>* entries);
