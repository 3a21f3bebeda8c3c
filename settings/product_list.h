#pragma once
// The products the settings dialog lists after this one: the collection's installed members
// in registry order, then the catalogue's products that are not installed. Plain C++.
#include <string>
#include <vector>

#include "catalogue/catalogue_records.h"
#include "settings/settings.h"

struct ProductEntry {
  std::string ID;
  std::string Title;
  std::string Version;
  std::string DescriptionText;
  std::string DownloadURL;
  std::string ScreenshotFile;
  std::string IconFile;
  std::string ExecutablePath;  // empty: not installed

  bool Installed() const { return !ExecutablePath.empty(); }
};

// This product's own member is left out whatever the letter case of its key ("Tellaro" in the
// registry, "TELLARO" in the catalogue); a catalogue product that is installed stays listed
// once, as installed.
std::vector<ProductEntry> BuildProductList(const std::vector<CollectionEntry>& members,
                                           const std::vector<CatalogueEntry>& catalogue);

