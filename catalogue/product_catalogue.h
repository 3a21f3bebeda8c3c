#pragma once
// The catalogue of the collection's products as the settings dialog lists them, loaded from
// the cache below the installation folder (catalogue/product_cache.h) or from the web into
// that cache. Every load empties the catalogue first and again on failure: it is complete or
// empty.
#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "catalogue/catalogue_limits.h"
#include "catalogue/catalogue_records.h"
#include "catalogue/download_progress.h"

// How long a Web Update may take: all of it, and each connection and piece of an answer.
struct WebUpdateTimes {
  uint32_t deadlineMs = kUpdateDeadlineMs;
  uint32_t connectTimeoutMs = kConnectTimeoutMs;
  uint32_t receiveTimeoutMs = kReceiveTimeoutMs;
};

// Why a load failed; the reason gives the details (the file, the address, the bound).
enum class CatalogueError {
  None,
  NoInstallPath,   // the installation folder is unknown
  NoInternet,      // no Internet session could be opened
  DownloadFailed,  // the catalogue didn't arrive whole and in time
  Unreadable,      // the catalogue, cached or downloaded, can't be read as one
  CantSave,        // the catalogue can't be written to the cache
  PicturesFailed,  // a screenshot or icon didn't arrive, failed its check, or couldn't be kept
};
using CatalogueResult = Result<CatalogueError>;

class ProductCatalogue {
 public:
  // `installPath` is the installation folder (ending in a backslash), empty when unknown.
  // Success when the cached catalogue was read; entries then hold the local screenshot path,
  // whether that file exists or not, and the local icon path when the icon there passes its
  // check (empty otherwise, so nothing else ever parses a bad one). Fails with NoInstallPath
  // or Unreadable (no cache, or a cache that isn't a complete catalogue).
  CatalogueResult LoadFromCache(const std::string& installPath);

  // Downloads the catalogue at `url`, then every screenshot and icon that the cache doesn't
  // hold as a picture that passes its check (those are never fetched again), telling
  // `progress` (may be null) what it does and letting its window take its messages while a
  // download waits. Every download must pass its check and its size bound, the cache as a
  // whole must stay within kMaxCacheBytes, and all of it must end within `times`. Only then
  // does the new catalogue replace the cached one, and the folders of products it no longer
  // lists go. Success when all of that happened. Every failure but CantSave leaves the cache
  // as it was: the cached catalogue and the pictures of the products it lists.
  CatalogueResult LoadFromWeb(const std::string& installPath, const std::string& url, DownloadProgress* progress,
                              const WebUpdateTimes& times = WebUpdateTimes());

  const std::vector<CatalogueEntry>& Entries() const { return entries_; }

 private:
  CatalogueResult ReadCatalogue(const std::vector<uint8_t>& bytes, const std::string& installPath);
  CatalogueResult FetchPictures(const std::string& installPath, const std::string& url, uint64_t cacheBytes,
                                const WebUpdateTimes& times, uint64_t deadline, DownloadProgress* progress);

  std::vector<CatalogueEntry> entries_;
};

// The catalogue's address, string resource 3 of the program; empty when it is missing.
std::string CatalogueAddress();
