#pragma once
// The product's names: what the version resources and the installer say about it (the
// installer script reads TELLARO_VERSION_TEXT from here too), and how the collection knows
// it: the registry's member key "Tellaro" and the catalogue's ID "TELLARO" name the same
// product, whatever their letter case. These spellings are the collection's own.
#define TELLARO_VERSION_NUMBER 1, 0, 0, 0
#define TELLARO_VERSION_TEXT "1.0"
#define TELLARO_COMPANY "Kestrune"
#define TELLARO_PRODUCT "Tellaro"
#define TELLARO_COLLECTION "Halcyonix 3D"
#define TELLARO_COPYRIGHT "Copyright (C) Kestrune"

#ifdef __cplusplus
#include <string_view>

#include "base/ascii.h"

inline constexpr char kOwnProductKey[] = TELLARO_PRODUCT;  // this screensaver's key below the collection key
inline constexpr char kOwnProductId[] = "TELLARO";         // its ID in the online catalogue

// A member key or catalogue ID that names this product.
constexpr bool IsOwnProduct(std::string_view keyOrId) { return ascii::EqualNoCase(keyOrId, kOwnProductId); }
#endif
