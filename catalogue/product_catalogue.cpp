#include "catalogue/product_catalogue.h"

#include <windows.h>

#include <algorithm>

#include "catalogue/cache_files.h"
#include "catalogue/catalogue_ids.h"
#include "catalogue/http_fetch.h"
#include "catalogue/product_cache.h"
#include "catalogue/xml_pairs.h"
#include "framework/app.h"

namespace {

void Tell(DownloadProgress* progress, const char* status, const std::string& location, int percent) {
  if (!progress) return;
  if (status) progress->SetStatus(status);
  progress->SetLocation(location.c_str());
  if (percent >= 0) progress->SetPercent(percent);
  progress->DispatchPending();
}

void ShowCantSave() {
  fw::ShowMessage(GetActiveWindow(),
                  "Can't save temporary data! \n\t\t\tPlease check free disk space or access rights \n\t\t\tfor "
                  "program's installation path, or reinstall the program.",
                  MB_OK);
}

// Products whose folder would have a path too long for the system are left out, so that one
// of them never fails the whole catalogue.
void DropUncacheable(const std::string& installPath, std::vector<CatalogueEntry>* entries) {
  entries->erase(std::remove_if(entries->begin(), entries->end(),
                                [&](const CatalogueEntry& entry) { return ProductFolder(installPath, entry.ID).empty(); }),
                 entries->end());
}

}  // namespace

bool ProductCatalogue::LoadFromCache(const std::string& installPath) {
  entries_.clear();
  if (installPath.empty()) {
    fw::ShowMessage(GetActiveWindow(), "Can't find program's installation path.\n\t\t\tPlease reinstall this software!",
                    MB_OK);
    return false;
  }
  XmlPairs document;
  if (!document.LoadFile(installPath + kCatalogueFile) || !ReadProductRecords(document, &entries_)) return false;
  DropUncacheable(installPath, &entries_);
  for (CatalogueEntry& entry : entries_) {
    const std::string folder = ProductFolder(installPath, entry.ID);
    entry.Screenshot = folder + PictureFileName(ProductPicture::Screenshot);
    entry.Icon = folder + PictureFileName(ProductPicture::Icon);
    if (CheckedPictureSize(entry.Icon, ProductPicture::Icon) < 0) entry.Icon.clear();
  }
  return true;
}

bool ProductCatalogue::ReadCatalogue(std::vector<uint8_t>* bytes, const std::string& installPath) {
  bytes->push_back('\0');
  XmlPairs document;
  const bool read =
      document.Parse(reinterpret_cast<const char*>(bytes->data())) && ReadProductRecords(document, &entries_);
  bytes->pop_back();
  DropUncacheable(installPath, &entries_);
  return read;
}

bool ProductCatalogue::FetchPictures(const std::string& installPath, const std::string& url, uint64_t cacheBytes,
                                     const WebUpdateTimes& times, uint64_t deadline, DownloadProgress* progress) {
  // "&&" is how a static shows one ampersand.
  Tell(progress, "Downloading screenshots && icons", url, 0);
  const int count = static_cast<int>(entries_.size());
  for (int i = 0; i < count; ++i) {
    CatalogueEntry& entry = entries_[static_cast<size_t>(i)];
    const std::string folder = ProductFolder(installPath, entry.ID);
    const struct {
      std::string* field;
      ProductPicture picture;
      int percent;
    } pictures[] = {{&entry.Screenshot, ProductPicture::Screenshot, i * 100 / count},
                    {&entry.Icon, ProductPicture::Icon, (i * 100 + 50) / count}};
    for (const auto& picture : pictures) {
      Tell(progress, nullptr, *picture.field, picture.percent);
      if (GetTickCount64() >= deadline) return false;
      const std::string local = folder + PictureFileName(picture.picture);
      // A good cached picture is kept even when the catalogue names another address.
      int64_t size = CheckedPictureSize(local, picture.picture);
      if (size < 0) {
        FetchLimits limits;
        limits.maxBytes = static_cast<size_t>(
            std::min<uint64_t>(MaxPictureBytes(picture.picture), kMaxCacheBytes - cacheBytes));
        limits.deadline = deadline;
        limits.connectTimeoutMs = times.connectTimeoutMs;
        limits.receiveTimeoutMs = times.receiveTimeoutMs;
        std::vector<uint8_t> body;
        if (!HttpFetch(*picture.field, limits, progress, &body) || body.empty() ||
            !IsGoodPicture(picture.picture, body.data(), body.size()) ||
            !WriteFileWithFolders(local, body.data(), body.size()))
          return false;
        size = static_cast<int64_t>(body.size());
      }
      cacheBytes += static_cast<uint64_t>(size);
      if (cacheBytes > kMaxCacheBytes) return false;
      *picture.field = local;
    }
  }
  return true;
}

bool ProductCatalogue::LoadFromWeb(const std::string& installPath, const std::string& url,
                                   DownloadProgress* progress, const WebUpdateTimes& times) {
  entries_.clear();
  if (installPath.empty()) {
    fw::ShowMessage(GetActiveWindow(), "Can't find program's installation path.\nPlease reinstall this software!", MB_OK);
    return false;
  }
  const uint64_t deadline = GetTickCount64() + times.deadlineMs;

  Tell(progress, "Downloading available products list...", url, -1);
  FetchLimits limits;
  limits.maxBytes = kMaxCatalogueBytes;
  limits.deadline = deadline;
  limits.connectTimeoutMs = times.connectTimeoutMs;
  limits.receiveTimeoutMs = times.receiveTimeoutMs;
  std::vector<uint8_t> catalogue;
  if (!HttpFetch(url, limits, progress, &catalogue) || catalogue.empty()) return false;
  // Judged before anything is saved: a catalogue that can't be read never replaces a good one.
  if (!ReadCatalogue(&catalogue, installPath)) return false;
  if (!MakePathUsable(CacheFolder(installPath))) {
    entries_.clear();
    ShowCantSave();
    return false;
  }
  // The catalogue goes to the cache last, so that a failure on the way keeps the last one;
  // the pictures fetched for products that only the new one lists go again.
  if (!FetchPictures(installPath, url, catalogue.size(), times, deadline, progress)) {
    entries_.clear();
    ProductCatalogue last;
    last.LoadFromCache(installPath);
    RemoveUnlistedProducts(installPath, last.Entries());
    return false;
  }
  if (!WriteFileWithFolders(installPath + kCatalogueFile, catalogue.data(), catalogue.size())) {
    entries_.clear();
    ShowCantSave();
    return false;
  }
  RemoveUnlistedProducts(installPath, entries_);
  return true;
}

std::string CatalogueAddress() {
  char text[512] = "";
  const int length = LoadStringA(GetModuleHandleA(nullptr), IDS_CATALOGUE_URL, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}
