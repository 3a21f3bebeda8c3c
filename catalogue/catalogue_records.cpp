#include "catalogue/catalogue_records.h"

#include <cstdint>
#include <cstdio>

#include "base/ascii.h"

namespace {

bool IsDeviceName(std::string_view id) {
  // "CON.txt" is the console as much as "CON" is.
  const std::string_view stem = id.substr(0, id.find('.'));
  std::string upper;
  for (char c : stem) upper += ascii::Upper(c);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
         upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

bool IsPlainProductId(std::string_view id) {
  if (id.empty() || id == "." || id == "..") return false;
  for (char c : id) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
    if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  if (id.back() == '.' || id.back() == ' ') return false;
  return !IsDeviceName(id);
}

bool ReadProductRecords(const XmlPairs& document, std::vector<CatalogueEntry>* entries) {
  entries->clear();
  int32_t count = 0;
  if (!document.GetInt("English.ProductsList.Count", &count)) return false;
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
                          document.GetString(base + ".Description.ScreenshotURL", &entry.Screenshot) &&
                          document.GetString(base + ".Description.IconURL", &entry.Icon) &&
                          document.GetString(base + ".DownloadURL", &entry.DownloadURL);
    if (!complete) {
      entries->clear();
      return false;
    }
    if (IsPlainProductId(entry.ID)) entries->push_back(std::move(entry));
  }
  return true;
}
