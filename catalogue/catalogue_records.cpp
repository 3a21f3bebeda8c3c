#include "catalogue/catalogue_records.h"

#include <cstdint>
#include <cstdio>

#include "base/ascii.h"
#include "catalogue/catalogue_limits.h"
#include "catalogue/web_address.h"

namespace {

bool IsDeviceName(std::string_view id) {
  // "CON.txt" and "CON .txt" are the console as much as "CON" is.
  std::string_view stem = id.substr(0, id.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper;
  for (char c : stem) upper += ascii::Upper(c);
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (upper == device) return true;
  if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0)) return false;
  const std::string_view number = std::string_view(upper).substr(3);
  // The superscript digits in UTF-8, the program's code page.
  return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
         number == "\xC2\xB2" || number == "\xC2\xB3";
}

bool IsTaken(const std::vector<CatalogueEntry>& entries, const std::string& id) {
  for (const CatalogueEntry& entry : entries)
    if (ascii::EqualNoCase(entry.ID, id)) return true;
  return false;
}

}  // namespace

bool IsPlainProductId(std::string_view id) {
  if (id.empty() || id.size() > kMaxProductIdLength || id == "." || id == "..") return false;
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
