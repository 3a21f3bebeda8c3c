#include "catalogue/catalogue_records.h"

#include <cstdint>
#include <cstdio>

#include "base/ascii.h"
#include "catalogue/cache_names.h"
#include "catalogue/catalogue_limits.h"
#include "catalogue/web_address.h"

namespace {

bool IsIdCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.';
}

// "CON.txt" is the console as much as "CON" is.
bool IsDeviceName(std::string_view id) {
  const std::string stem = ascii::Lowered(id.substr(0, id.find('.')));
  if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0) && stem[3] >= '0' &&
         stem[3] <= '9';
}

bool IsCacheOwnName(std::string_view id) {
  return ascii::EqualNoCase(id, kCatalogueFileName) || IsTemporaryName(id);
}

bool IsTaken(const std::vector<CatalogueEntry>& entries, const std::string& id) {
  for (const CatalogueEntry& entry : entries)
    if (ascii::EqualNoCase(entry.ID, id)) return true;
  return false;
}

}  // namespace

bool IsPlainProductId(std::string_view id) {
  if (id.empty() || id.size() > kMaxProductIdLength || id.front() == '.' || id.back() == '.') return false;
  for (char c : id)
    if (!IsIdCharacter(c)) return false;
  return !IsDeviceName(id) && !IsCacheOwnName(id);
}

bool ReadProductRecords(const XmlPairs& document, std::vector<CatalogueEntry>* entries) {
  entries->clear();
  int32_t count = 0;
  if (!document.GetInt("English.ProductsList.Count", &count) || count > kMaxProducts) return false;
  for (int32_t n = 1; n <= count; ++n) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "English.ProductsList.Product%d", static_cast<int>(n));
    const std::string base = prefix;
    CatalogueEntry entry;
    if (!document.GetString(base + ".ID", &entry.ID)) {
      entries->clear();
      return false;
    }
    if (IsOwnProduct(entry.ID)) continue;
    const bool complete = document.GetString(base + ".Title", &entry.Title) &&
                          document.GetString(base + ".Version", &entry.Version) &&
                          document.GetString(base + ".Description.Text", &entry.DescriptionText) &&
                          document.GetString(base + ".Description.ScreenshotURL", &entry.ScreenshotFile) &&
                          document.GetString(base + ".Description.IconURL", &entry.IconFile) &&
                          document.GetString(base + ".DownloadURL", &entry.DownloadURL);
    if (!complete) {
      entries->clear();
      return false;
    }
    const bool secure = IsSecureWebAddress(entry.ScreenshotFile) && IsSecureWebAddress(entry.IconFile) &&
                        IsSecureWebAddress(entry.DownloadURL);
    if (IsPlainProductId(entry.ID) && !IsTaken(*entries, entry.ID) && secure) entries->push_back(std::move(entry));
  }
  return true;
}
