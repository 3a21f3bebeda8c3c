#pragma once
// The collection's keys below HKEY_CURRENT_USER, as the per-user steps' wide calls name them.
#include "base/product.h"

namespace user_keys {

inline constexpr wchar_t kCompany[] = L"Software\\" TELLARO_COMPANY;
inline constexpr wchar_t kCollection[] = L"Software\\" TELLARO_COMPANY "\\Halcyonix";
inline constexpr wchar_t kList[] = L"Software\\" TELLARO_COMPANY "\\Halcyonix\\List";
inline constexpr wchar_t kMember[] = L"Software\\" TELLARO_COMPANY "\\Halcyonix\\" TELLARO_PRODUCT;

}  // namespace user_keys
