// Reads the input as a catalogue document and checks what comes out: a failure leaves no
// entries; at most kMaxProducts entries, each with a plain ID that is not this product's and
// that no other entry has in another letter case, every address a secure web address, and a
// description that splits into lines of at most 255 characters without a line feed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "catalogue/catalogue_limits.h"
#include "catalogue/catalogue_records.h"
#include "catalogue/page_text.h"
#include "catalogue/web_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  XmlPairs xml;
  if (!xml.Parse(text.c_str())) return 0;
  std::vector<CatalogueEntry> entries(1);
  if (!ReadProductRecords(xml, &entries)) {
    if (!entries.empty()) std::abort();
    return 0;
  }
  if (entries.size() > static_cast<size_t>(kMaxProducts)) std::abort();
  for (size_t i = 0; i < entries.size(); ++i) {
    const CatalogueEntry& entry = entries[i];
    if (IsOwnProduct(entry.ID) || !IsPlainProductId(entry.ID)) std::abort();
    for (size_t j = 0; j < i; ++j)
      if (ascii::EqualNoCase(entries[j].ID, entry.ID)) std::abort();
    for (const std::string* address : {&entry.ScreenshotFile, &entry.IconFile, &entry.DownloadURL})
      if (!IsSecureWebAddress(*address)) std::abort();
    for (const std::string& line : SplitDescription(entry.DescriptionText))
      if (line.size() > kMaxDescriptionLine || line.find('\n') != std::string::npos) std::abort();
  }
  for (const std::string& line : SplitDescription(text))
    if (line.size() > kMaxDescriptionLine) std::abort();
  IsSecureWebAddress(text);
  return 0;
}
