#include "installer/user_cache_removal.h"

#include <windows.h>

#include <vector>

#include "catalogue/product_cache.h"
#include "installer/link_safe_removal.h"
#include "installer/wide_text.h"

namespace user_cache_removal {

namespace {

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// The names that the cache writes in a folder of its own besides `kept`: a write's temporary
// file ("tlr*.tmp") and the probe of whether the folder can be written.
bool IsCacheName(const std::wstring& name, const std::vector<std::wstring>& kept) {
  for (const std::wstring& file : kept)
    if (SameName(name, file)) return true;
  const std::wstring prefix = L"tlr", suffix = L".tmp";
  if (name.size() >= prefix.size() + suffix.size() && SameName(name.substr(0, prefix.size()), prefix) &&
      SameName(name.substr(name.size() - suffix.size()), suffix))
    return true;
  return SameName(name, L"testfilename001.fileext");
}

void RemoveCacheFiles(const std::wstring& folder, const std::vector<link_safe::Entry>& entries,
                      const std::vector<std::wstring>& kept) {
  for (const link_safe::Entry& entry : entries)
    if (!entry.folder && IsCacheName(entry.name, kept)) (void)link_safe::RemoveFile(folder + entry.name);
}

}  // namespace

void RemoveCatalogueCache(const std::wstring& folder) {
  const std::wstring web = folder + WideText(CacheFolder(""));
  std::vector<link_safe::Entry> entries;
  if (link_safe::ListFolder(web, &entries)) {
    const std::vector<std::wstring> pictures = {WideText(PictureFileName(ProductPicture::Screenshot)),
                                                WideText(PictureFileName(ProductPicture::Icon))};
    for (const link_safe::Entry& entry : entries) {
      std::vector<link_safe::Entry> files;
      const std::wstring product = web + entry.name + L"\\";
      if (!entry.folder || !link_safe::ListFolder(product, &files)) continue;
      RemoveCacheFiles(product, files, pictures);
      (void)link_safe::RemoveEmptyFolder(product);
    }
    RemoveCacheFiles(web, entries, {WideText(kCatalogueFile).substr(web.size() - folder.size())});
    (void)link_safe::RemoveEmptyFolder(web);
  }
  (void)link_safe::RemoveEmptyFolder(folder);
}

}  // namespace user_cache_removal
