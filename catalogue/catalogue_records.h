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

// True when `id` can name a folder of its own below the cache folder and nothing else: not
// empty, at most kMaxProductIdLength characters, not "." or "..", no path separator, drive
// colon, wildcard or other character that Windows refuses in a name (" < > |), no control
// character, no trailing dot or blank (Windows drops them), and not a device name (CON, PRN,
// AUX, NUL, CONIN$, CONOUT$, COM1-9, LPT1-9 and COM or LPT with a superscript 1-3, with any
// extension and blanks before it).
bool IsPlainProductId(std::string_view id);

// Replaces `entries` with the products of the document in document order. This product's own
// entry is left out without reading its other keys. A product is read and then left out when
// its ID is not plain (it would name a folder outside the cache, or none), when an earlier
// product kept has the same ID in another letter case (Windows gives both one folder), or
// when its screenshot, icon or download address is not a secure web address. False, with
// `entries` empty, when the count is missing or above kMaxProducts, or any key of another
// product is missing.
bool ReadProductRecords(const XmlPairs& document, std::vector<CatalogueEntry>* entries);
