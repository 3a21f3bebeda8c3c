#include "catalogue/product_catalogue.h"

#include <windows.h>

#include <algorithm>

#include "catalogue/bounded_file.h"
#include "catalogue/cache_files.h"
#include "catalogue/catalogue_ids.h"
#include "catalogue/http_fetch.h"
#include "catalogue/product_cache.h"
#include "catalogue/xml_pairs.h"

namespace {

void Tell(DownloadProgress* progress, const char* status, const std::string& location, int percent) {
  if (!progress) return;
  if (status) progress->SetStatus(status);
  progress->SetLocation(location.c_str());
  if (percent >= 0) progress->SetPercent(percent);
  progress->DispatchPending();
}

CatalogueResult Fail(CatalogueError code, std::string reason) { return CatalogueResult::Fail(code, std::move(reason)); }

// A failed download: no session is a failure of its own, any other fails as `code`.
CatalogueResult FetchFailed(const Result<FetchError>& fetched, CatalogueError code) {
  return Fail(fetched.code() == FetchError::NoSession ? CatalogueError::NoInternet : code, fetched.reason());
}

// Products whose folder would have a path too long for the system are left out, so that one
// of them never fails the whole catalogue.
void DropUncacheable(const std::string& installPath, std::vector<CatalogueEntry>* entries) {
  entries->erase(std::remove_if(entries->begin(), entries->end(),
                                [&](const CatalogueEntry& entry) { return ProductFolder(installPath, entry.ID).empty(); }),
                 entries->end());
}

}  // namespace

CatalogueResult ProductCatalogue::LoadFromCache(const std::string& installPath) {
  entries_.clear();
  if (installPath.empty()) return Fail(CatalogueError::NoInstallPath, "no installation folder");
  std::vector<uint8_t> bytes;
  const Result<FileReadError> read = ReadFileUpTo(installPath + kCatalogueFile, kMaxCatalogueBytes, &bytes);
  if (!read) return Fail(CatalogueError::Unreadable, read.reason());
  if (CatalogueResult records = ReadCatalogue(bytes, installPath); !records) return records;
  for (CatalogueEntry& entry : entries_) {
    const std::string folder = ProductFolder(installPath, entry.ID);
    entry.ScreenshotFile = folder + PictureFileName(ProductPicture::Screenshot);
    entry.IconFile = folder + PictureFileName(ProductPicture::Icon);
    if (CheckedPictureSize(entry.IconFile, ProductPicture::Icon) < 0) entry.IconFile.clear();
  }
  return CatalogueResult::Ok();
}

CatalogueResult ProductCatalogue::ReadCatalogue(const std::vector<uint8_t>& bytes, const std::string& installPath) {
  XmlPairs document;
  if (!document.ParseBytes(bytes.data(), bytes.size()))
    return Fail(CatalogueError::Unreadable, "the catalogue is no well-formed document within the reader's bounds");
  if (!ReadProductRecords(document, &entries_))
    return Fail(CatalogueError::Unreadable, "the catalogue's count is missing or too large, or a product lacks a key");
  DropUncacheable(installPath, &entries_);
  return CatalogueResult::Ok();
}

CatalogueResult ProductCatalogue::FetchPictures(const std::string& installPath, const std::string& url,
                                                uint64_t cacheBytes, const WebUpdateTimes& times, uint64_t deadline,
                                                DownloadProgress* progress) {
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
    } pictures[] = {{&entry.ScreenshotFile, ProductPicture::Screenshot, i * 100 / count},
                    {&entry.IconFile, ProductPicture::Icon, (i * 100 + 50) / count}};
    for (const auto& picture : pictures) {
      Tell(progress, nullptr, *picture.field, picture.percent);
      if (GetTickCount64() >= deadline) return Fail(CatalogueError::PicturesFailed, "the Web Update's deadline passed");
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
        const Result<FetchError> fetched = HttpFetch(*picture.field, limits, progress, &body);
        if (!fetched) return FetchFailed(fetched, CatalogueError::PicturesFailed);
        if (!IsGoodPicture(picture.picture, body.data(), body.size()))
          return Fail(CatalogueError::PicturesFailed, *picture.field + ": not a picture that passes its check");
        if (!WriteFileWithFolders(local, body.data(), body.size()))
          return Fail(CatalogueError::PicturesFailed, local + ": can't be written");
        size = static_cast<int64_t>(body.size());
      }
      cacheBytes += static_cast<uint64_t>(size);
      if (cacheBytes > kMaxCacheBytes)
        return Fail(CatalogueError::PicturesFailed, "the pictures exceed the cache's bound");
      *picture.field = local;
    }
  }
  return CatalogueResult::Ok();
}

CatalogueResult ProductCatalogue::LoadFromWeb(const std::string& installPath, const std::string& url,
                                              DownloadProgress* progress, const WebUpdateTimes& times) {
  entries_.clear();
  if (installPath.empty()) return Fail(CatalogueError::NoInstallPath, "no installation folder");
  const uint64_t deadline = GetTickCount64() + times.deadlineMs;

  Tell(progress, "Downloading available products list...", url, -1);
  FetchLimits limits;
  limits.maxBytes = kMaxCatalogueBytes;
  limits.deadline = deadline;
  limits.connectTimeoutMs = times.connectTimeoutMs;
  limits.receiveTimeoutMs = times.receiveTimeoutMs;
  std::vector<uint8_t> catalogue;
  const Result<FetchError> fetched = HttpFetch(url, limits, progress, &catalogue);
  if (!fetched) return FetchFailed(fetched, CatalogueError::DownloadFailed);
  if (catalogue.empty()) return Fail(CatalogueError::DownloadFailed, url + ": an empty catalogue");
  // Judged before anything is saved: a catalogue that can't be read never replaces a good one.
  if (CatalogueResult read = ReadCatalogue(catalogue, installPath); !read) {
    entries_.clear();
    return read;
  }
  const std::string cache = CacheFolder(installPath);
  if (!MakePathUsable(cache)) {
    entries_.clear();
    RemoveDirectoryA(cache.c_str());  // made just now, or empty: fails when anything is in it
    return Fail(CatalogueError::CantSave, cache + ": can't be written");
  }
  // What a killed update left goes first; temporary files that must stay count as cache.
  const uint64_t left = RestoreLastGoodCache(installPath);
  // The catalogue goes to the cache last, so that a failure on the way keeps the last one;
  // the pictures fetched for products that only the new one lists go again.
  CatalogueResult stored = FetchPictures(installPath, url, catalogue.size() + left, times, deadline, progress);
  if (stored && !WriteFileWithFolders(installPath + kCatalogueFile, catalogue.data(), catalogue.size()))
    stored = Fail(CatalogueError::CantSave, installPath + kCatalogueFile + ": can't be written");
  if (!stored) {
    entries_.clear();
    static_cast<void>(RestoreLastGoodCache(installPath));
    return stored;
  }
  RemoveUnlistedProducts(installPath, entries_);
  return CatalogueResult::Ok();
}

std::string CatalogueAddress() {
  char text[512] = "";
  const int length = LoadStringA(GetModuleHandleA(nullptr), IDS_CATALOGUE_URL, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}
