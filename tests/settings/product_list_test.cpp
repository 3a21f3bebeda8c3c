// Which products the settings dialog lists, and in which order.
#include <gtest/gtest.h>

#include <string>

#include "base/product.h"
#include "settings/product_list.h"

namespace {

TEST(ProductList, InstalledMembersFirstThenTheCatalogueWithoutThisProductOrDuplicates) {
  const std::vector<CollectionEntry> members = {
      {"Tellaro", "Tellaro", "C:\\t.scr"},  // this product, as the installer registers it
      {"Nebula Saver", "NEBULA", "C:\\n.scr"},
      {"Comet", "COMET", "C:\\c.scr"},
  };
  std::vector<CatalogueEntry> catalogue(3);
  catalogue[0].ID = "ORBIT";
  catalogue[0].Title = "Orbit";
  catalogue[0].IconFile = "C:\\web\\ORBIT\\icon.bmp";
  catalogue[1].ID = "NEBULA";  // installed: listed once, as installed
  catalogue[1].Title = "Nebula from the web";
  catalogue[2].ID = "nebula";  // another product: IDs compare exactly
  catalogue[2].Title = "nebula";
  const std::vector<ProductEntry> products = BuildProductList(members, catalogue);
  std::string order;
  for (const ProductEntry& product : products) order += product.Title + (product.Installed() ? "+" : "-") + ",";
  EXPECT_EQ(order, "Nebula Saver+,Comet+,Orbit-,nebula-,");
  EXPECT_EQ(products[2].IconFile, "C:\\web\\ORBIT\\icon.bmp");
  EXPECT_TRUE(IsOwnProduct("TELLARO"));
  EXPECT_TRUE(IsOwnProduct("tellaro"));
  EXPECT_FALSE(IsOwnProduct("TELLARO2"));
}

}  // namespace
