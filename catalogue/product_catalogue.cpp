#include "catalogue/product_catalogue.h"

#include <windows.h>

#include "catalogue/catalogue_ids.h"
#include "catalogue/file_writer.h"
#include "catalogue/http_fetch.h"
#include "catalogue/xml_pairs.h"
#include "framework/app.h"

namespace {

constexpr char kCatalogueFile[] = "web\\update.xml";

std::string ProductFolder(const std::string& installPath, const CatalogueEntry& entry) {
  return installPath + "web\\" + entry.ID + "\\";
}

void Tell(DownloadProgress* progress, const char* status, const std::string& location, int percent) {
  if (!progress) return;
  if (status) progress->SetStatus(status);
  progress->SetLocation(location.c_str());
  if (percent >= 0) progress->SetPercent(percent);
  progress->DispatchPending();
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
  for (CatalogueEntry& entry : entries_) {
    entry.Screenshot = ProductFolder(installPath, entry) + "screenshot.jpg";
    entry.Icon = ProductFolder(installPath, entry) + "icon.bmp";
  }
  return true;
}

bool ProductCatalogue::FetchIntoCache(const std::string& url, const std::string& path) {
  std::vector<uint8_t> body;
  return HttpFetch(url, &body) > 0 && WriteFileWithFolders(path, body.data(), body.size());
}

bool ProductCatalogue::LoadFromWeb(const std::string& installPath, const std::string& url,
                                   DownloadProgress* progress) {
  entries_.clear();
  if (installPath.empty()) {
    fw::ShowMessage(GetActiveWindow(), "Can't find program's installation path.\nPlease reinstall this software!", MB_OK);
    return false;
  }

  Tell(progress, "Downloading available products list...", url, -1);
  std::vector<uint8_t> body;
  if (HttpFetch(url, &body) <= 0) return false;
  // Judged before it is saved: a catalogue that can't be read never replaces a good one.
  body.push_back('\0');
  XmlPairs document;
  if (!document.Parse(reinterpret_cast<const char*>(body.data())) || !ReadProductRecords(document, &entries_))
    return false;
  body.pop_back();
  if (!WriteFileWithFolders(installPath + kCatalogueFile, body.data(), body.size())) {
    entries_.clear();
    fw::ShowMessage(GetActiveWindow(),
                    "Can't save temporary data! \n\t\t\tPlease check free disk space or access rights \n\t\t\tfor "
                    "program's installation path, or reinstall the program.",
                    MB_OK);
    return false;
  }
  body = std::vector<uint8_t>();

  // "&&" is how a static shows one ampersand.
  Tell(progress, "Downloading screenshots && icons", url, 0);
  const int count = static_cast<int>(entries_.size());
  for (int i = 0; i < count; ++i) {
    CatalogueEntry& entry = entries_[static_cast<size_t>(i)];
    const std::string folder = ProductFolder(installPath, entry);
    const struct {
      std::string* field;
      const char* file;
      int percent;
    } pictures[] = {{&entry.Screenshot, "screenshot.jpg", i * 100 / count},
                    {&entry.Icon, "icon.bmp", (i * 100 + 50) / count}};
    for (const auto& picture : pictures) {
      Tell(progress, nullptr, *picture.field, picture.percent);
      const std::string local = folder + picture.file;
      // Cached pictures are kept even when the catalogue names another address.
      if (!IsReadableFile(local) && !FetchIntoCache(*picture.field, local)) {
        entries_.clear();
        return false;
      }
      *picture.field = local;
    }
  }
  return true;
}

std::string CatalogueAddress() {
  char text[512] = "";
  const int length = LoadStringA(GetModuleHandleA(nullptr), IDS_CATALOGUE_URL, text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}
