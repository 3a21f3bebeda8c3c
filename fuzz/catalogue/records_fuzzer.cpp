// Reads the input as a catalogue document and checks what comes out: a failure leaves no
// entries; every entry has a plain ID that is not this product's, and its description splits
// into lines of at most 255 characters without a line feed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/catalogue_records.h"
#include "catalogue/page_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  XmlPairs xml;
  if (!xml.Parse(text.c_str())) return 0;
  std::vector<CatalogueEntry> entries(1);
  if (!ReadProductRecords(xml, &entries)) {
    if (!entries.empty()) std::abort();
    return 0;
  }
  for (const CatalogueEntry& entry : entries) {
    if (IsOwnProduct(entry.ID) || !IsPlainProductId(entry.ID)) std::abort();
    for (const std::string& line : SplitDescription(entry.DescriptionText))
      if (line.size() > kMaxDescriptionLine || line.find('\n') != std::string::npos) std::abort();
    IsWebAddress(entry.DownloadURL);
  }
  for (const std::string& line : SplitDescription(text))
    if (line.size() > kMaxDescriptionLine) std::abort();
  return 0;
}
