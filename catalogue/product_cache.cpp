#include "catalogue/product_cache.h"

#include <windows.h>

#include "base/ascii.h"
#include "catalogue/catalogue_limits.h"
#include "catalogue/xml_pairs.h"
#include "catalogue/bounded_file.h"
#include "catalogue/cache_files.h"

namespace {

// The longest name written in a product's folder: "screenshot.jpg"; the temporary file of a
// write needs MAX_PATH - 14 for its folder.
constexpr size_t kLongestFileName = 14;

bool IsListed(const std::vector<CatalogueEntry>& listed, const std::string& name) {
  for (const CatalogueEntry& entry : listed)
    if (ascii::EqualNoCase(entry.ID, name)) return true;
  return false;
}

void RemoveCacheFiles(const std::string& folder) {
  for (const ProductPicture picture : {ProductPicture::Screenshot, ProductPicture::Icon})
    DeleteFileA((folder + PictureFileName(picture)).c_str());
  static_cast<void>(SweepTemporaryFiles(folder));
}

}  // namespace

std::string CacheFolder(const std::string& installPath) { return installPath + "web\\"; }

std::string ProductFolder(const std::string& installPath, const std::string& id) {
  std::string folder = CacheFolder(installPath) + id + "\\";
  return folder.size() + kLongestFileName < MAX_PATH ? folder : std::string();
}

const char* PictureFileName(ProductPicture picture) {
  return picture == ProductPicture::Screenshot ? "screenshot.jpg" : "icon.bmp";
}

int64_t CheckedPictureSize(const std::string& path, ProductPicture picture) {
  std::vector<uint8_t> bytes;
  if (!ReadFileUpTo(path, MaxPictureBytes(picture), &bytes) || !IsGoodPicture(picture, bytes.data(), bytes.size()))
    return -1;
  return static_cast<int64_t>(bytes.size());
}

void RemoveUnlistedProducts(const std::string& installPath, const std::vector<CatalogueEntry>& listed) {
  const std::string cache = CacheFolder(installPath);
  std::vector<std::string> unlisted;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((cache + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    const DWORD attributes = found.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && name != "." &&
        name != ".." && !IsListed(listed, name))
      unlisted.push_back(cache + name + "\\");
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (const std::string& folder : unlisted) {
    RemoveCacheFiles(folder);
    RemoveDirectoryA(folder.c_str());  // fails, as it should, when something else is in it
  }
}

uint64_t RestoreLastGoodCache(const std::string& installPath) {
  std::vector<CatalogueEntry> listed;
  // None, or an unreadable one: every product folder goes.
  std::vector<uint8_t> bytes;
  XmlPairs document;
  if (ReadFileUpTo(installPath + kCatalogueFile, kMaxCatalogueBytes, &bytes) &&
      document.ParseBytes(bytes.data(), bytes.size()))
    static_cast<void>(ReadProductRecords(document, &listed));
  RemoveUnlistedProducts(installPath, listed);
  uint64_t staying = SweepTemporaryFiles(CacheFolder(installPath));
  for (const CatalogueEntry& entry : listed)
    if (const std::string folder = ProductFolder(installPath, entry.ID); !folder.empty())
      staying += SweepTemporaryFiles(folder);
  return staying;
}
