#pragma once
// The catalogue of the collection's products as the settings dialog lists them, loaded from
// the cache below the installation folder or from the web into that cache:
//   <install>web\update.xml                 the last catalogue downloaded, byte for byte
//   <install>web\<ID>\screenshot.jpg        each product's screenshot (JPEG)
//   <install>web\<ID>\icon.bmp              each product's 32x32 icon (magenta transparent)
// Every load empties the catalogue first and again on failure: it is complete or empty.
#include <string>
#include <vector>

#include "catalogue/catalogue_records.h"
#include "catalogue/download_progress.h"

class ProductCatalogue {
 public:
  // `installPath` is the installation folder (ending in a backslash), empty when unknown.
  // True when the cached catalogue was read; entries then hold the local screenshot and
  // icon paths, whether those files exist or not. Without an installation folder a message
  // box says so; an unreadable or incomplete cache fails silently.
  bool LoadFromCache(const std::string& installPath);

  // Downloads the catalogue at `url` into the cache, then every screenshot and icon that
  // the cache doesn't hold yet (those on disk are never fetched again), telling `progress`
  // (may be null) what it does. True when all of them are on disk and loaded. Message boxes
  // for a missing installation folder and for a catalogue that can't be saved; other
  // failures are silent. A catalogue that fails to download or can't be read leaves the
  // cached one as it was.
  bool LoadFromWeb(const std::string& installPath, const std::string& url, DownloadProgress* progress);

  const std::vector<CatalogueEntry>& Entries() const { return entries_; }

 private:
  bool FetchIntoCache(const std::string& url, const std::string& path);

  std::vector<CatalogueEntry> entries_;
};

// The catalogue's address, string resource 3 of the program; empty when it is missing.
std::string CatalogueAddress();
