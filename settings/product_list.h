#pragma once
// The products the settings dialog lists after this one: the collection's installed members
// in registry order, then the catalogue's products that are not installed. Plain C++.
#include <string>
#include <vector>

#include "catalogue/catalogue_records.h"
#include "settings/settings.h"

// A product of the list: the catalogue's record of it (an installed member's has its key as
// ID and its title, the rest empty) and the program of an installed one.
struct ProductEntry : CatalogueEntry {
  std::string ExecutablePath;  // empty: not installed

  bool Installed() const { return !ExecutablePath.empty(); }
};

// This product's own member is left out whatever the letter case of its key ("Tellaro" in the
// registry, "TELLARO" in the catalogue); a catalogue product that is installed stays listed
// once, as installed.
std::vector<ProductEntry> BuildProductList(const std::vector<CollectionEntry>& members,
                                           const std::vector<CatalogueEntry>& catalogue);

