#include "settings/product_list.h"

#include <algorithm>

std::vector<ProductEntry> BuildProductList(const std::vector<CollectionEntry>& members,
                                           const std::vector<CatalogueEntry>& catalogue) {
  std::vector<ProductEntry> products;
  for (const CollectionEntry& member : members) {
    if (IsOwnProduct(member.keyName)) continue;
    ProductEntry entry;
    entry.ID = member.keyName;
    entry.Title = member.title;
    entry.ExecutablePath = member.executablePath;
    products.push_back(std::move(entry));
  }
  for (const CatalogueEntry& product : catalogue) {
    const bool listed = std::any_of(products.begin(), products.end(),
                                    [&](const ProductEntry& entry) { return entry.ID == product.ID; });
    if (listed || IsOwnProduct(product.ID)) continue;
    products.push_back(ProductEntry{product, std::string()});
  }
  return products;
}
