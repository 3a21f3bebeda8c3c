// The online catalogue under Wine against a web site of the test's own on loopback: the
// server is the test prefix's proxy, and https requests reach it through tls_site.py with a
// certificate from a test authority that only this prefix's root store trusts. The web load
// into a temporary installation folder with the progress window seen from the server while
// it serves, the cache load afterwards, a second web load that fetches only what the cache
// lacks and removes what the catalogue no longer lists, the failures (a broken, hostile or
// slow site) each within its bound, with its own code and the last good cache kept (the
// boxes are the settings dialog's, seen from outside in its own test), and the product
// page's download button. Nothing is sent anywhere but 127.0.0.1. (The records, IDs,
// addresses, picture checks and the reader's bounds are shown natively.)
#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "catalogue/catalogue_ids.h"
#include "catalogue/catalogue_limits.h"
#include "catalogue/product_catalogue.h"
#include "catalogue/product_info_page.h"
#include "catalogue/progress_window.h"
#include "settings/settings.h"
#include "tests/catalogue/loopback_http_server.h"
#include "tests/catalogue/test_authority.h"
#include "tests/catalogue/test_pictures.h"
#include "tests/support/box_watcher.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_registry.h"
#include "tests/support/win_process.h"

namespace {

const std::string kSite = "https://www.kestrune.example";
const char kCataloguePath[] = "/halcyonix/update.xml";
const char kProgressCaption[] = "Web Update. Please wait...";
const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveTree(const std::string& folder) {
  for (const std::string& name : FolderNames(folder)) {
    const std::string path = folder + name;
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path + "\\");
    DeleteFileA(path.c_str());
  }
  RemoveDirectoryA(folder.c_str());
}

// When TELLARO_LOOK_MS is set, the windows stay up that long for a look by eye.
void LookIfAsked() {
  if (const char* look = std::getenv("TELLARO_LOOK_MS")) PumpFor(static_cast<DWORD>(std::atoi(look)));
}

struct Product {
  std::string id, title, text, shot;  // shot: the screenshot's path on the site
};

const std::vector<Product> kProducts = {
    {"MARSORBIT", "Mars Orbit",
     "A red planet turns in space with its two moons.\nSeveral thousand catalogue stars.\nThree camera tours.",
     "/shots/marsorbit.jpg"},
    {"NEBULA", "Nebula", "Gas clouds lit by young stars.", "/shots/nebula.jpg"},
};

std::string IconPath(const std::string& id) { return "/icons/" + id + ".bmp"; }

std::string Catalogue(const std::vector<Product>& products) {
  std::string xml = "<?xml version=\"1.0\"?>\n<English>\n <ProductsList>\n  <Count>" +
                    std::to_string(products.size()) + "</Count>\n";
  for (size_t n = 0; n < products.size(); ++n) {
    const Product& p = products[n];
    const std::string tag = "Product" + std::to_string(n + 1);
    xml += "  <" + tag + "><ID>" + p.id + "</ID><Title>" + p.title + "</Title><Version>1.0</Version>\n" +
           "   <Description><Text>" + p.text + "</Text><ScreenshotURL>" + kSite + p.shot + "</ScreenshotURL>" +
           "<IconURL>" + kSite + IconPath(p.id) + "</IconURL></Description>\n" + "   <DownloadURL>" + kSite +
           "/get/" + p.id + ".exe</DownloadURL></" + tag + ">\n";
  }
  return xml + " </ProductsList>\n</English>\n";
}

// Each entry as the settings dialog uses it.
std::vector<std::string> Lines(const ProductCatalogue& catalogue) {
  std::vector<std::string> lines;
  for (const CatalogueEntry& e : catalogue.Entries())
    lines.push_back(e.ID + " | " + e.Title + " | " + e.DescriptionText + " | " + e.ScreenshotFile + " | " + e.IconFile);
  return lines;
}

std::string WindowText(HWND window) {
  // Read without a message: the window's thread is blocked inside the download.
  wchar_t wide[512] = L"";
  const int length = InternalGetWindowText(window, wide, 512);
  return std::string(wide, wide + length);  // ASCII only
}

class CatalogueWebTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(server_.Port(), 0);
    ASSERT_TRUE(server_.TlsReady()) << "runs under tls_site.py";
    ASSERT_TRUE(authority_.Trusted());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "tellaro-catalogue-" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveTree(root_);
    install_ = root_ + "install\\";
    CreateDirectoryA(root_.c_str(), nullptr);
    CreateDirectoryA(install_.c_str(), nullptr);
    installPath_.Set(install_);
    proxyEnable_.Set(DWORD{1});
    proxyServer_.Set("127.0.0.1:" + std::to_string(server_.Port()));
    // A cookie the system holds for the site, which must never go with a request.
    InternetSetCookieA((kSite + "/").c_str(), "session", "secret; expires=Sat,01-Jan-2050 00:00:00 GMT");

    shot_ = ReadFile(std::string(TELLARO_DATA_DIR) + "/phobos2.jpg");
    ASSERT_FALSE(shot_.empty());
    server_.Serve(kCataloguePath, Catalogue(kProducts));
    for (const Product& p : kProducts) {
      server_.Serve(p.shot, shot_);
      server_.Serve(IconPath(p.id), IconBmp());
    }
  }
  void TearDown() override {
    EXPECT_EQ(server_.StrangeRequests(), std::vector<std::string>())
        << "every request went to the catalogue's site over TLS, without a cookie or credentials";
    EXPECT_EQ(FolderNames(root_), std::vector<std::string>{"install"}) << "nothing written outside the cache";
    RemoveTree(root_);
  }

  // The loads, watched for message boxes: the catalogue shows none, whatever happens.
  CatalogueResult WebLoad(ProductCatalogue& catalogue, DownloadProgress* progress = nullptr,
                          const WebUpdateTimes& times = WebUpdateTimes()) {
    BoxWatcher watcher;
    CatalogueResult loaded = catalogue.LoadFromWeb(Settings::GetInstallPath(), CatalogueAddress(), progress, times);
    EXPECT_EQ(watcher.Texts(), std::vector<std::string>()) << "a box below the dialog";
    return loaded;
  }
  CatalogueResult CacheLoad(ProductCatalogue& catalogue) {
    BoxWatcher watcher;
    CatalogueResult loaded = catalogue.LoadFromCache(Settings::GetInstallPath());
    EXPECT_EQ(watcher.Texts(), std::vector<std::string>()) << "a box below the dialog";
    return loaded;
  }
  std::string Cached(const std::string& name) { return ReadFile(install_ + "web\\" + name); }

  ScopedTestAuthority authority_;
  LoopbackHttpServer server_;
  ScopedValue installPath_{kTellaroKey, "InstallPath"};
  ScopedValue proxyEnable_{kInternetSettings, "ProxyEnable"};
  ScopedValue proxyServer_{kInternetSettings, "ProxyServer"};
  std::string root_, install_, shot_;
};

TEST_F(CatalogueWebTest, WebLoadFillsTheCacheWhileTheProgressWindowShowsAndALaterOneFetchesOnlyWhatItLacks) {
  EXPECT_EQ(CatalogueAddress(), kSite + kCataloguePath);

  // The progress window as the server sees it while it answers.
  std::mutex seenMutex;
  std::vector<std::string> seen;
  for (const std::string& path : {std::string(kCataloguePath), kProducts[1].shot}) {
    server_.OnRequest(path, [&seen, &seenMutex] {
      HWND window = FindWindowA(nullptr, kProgressCaption);
      const std::string now = !window || !IsWindowVisible(window)
                                  ? "not shown"
                                  : WindowText(GetDlgItem(window, IDC_PROGRESS_STATUS)) + " | " +
                                        WindowText(GetDlgItem(window, IDC_PROGRESS_LOCATION));
      std::lock_guard<std::mutex> lock(seenMutex);
      seen.push_back(now);
    });
  }

  ProductCatalogue catalogue;
  CProgressWindow progress;
  ASSERT_TRUE(progress.Create());
  if (std::getenv("TELLARO_LOOK_MS")) {
    progress.SetStatus("Downloading screenshots && icons");
    progress.SetLocation((kSite + kProducts[0].shot).c_str());
    progress.SetPercent(37);
    LookIfAsked();
  }
  ASSERT_TRUE(WebLoad(catalogue, &progress));
  progress.End();
  EXPECT_EQ(FindWindowA(nullptr, kProgressCaption), nullptr) << "the window goes when the download ends";
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "Downloading available products list... | " + kSite + kCataloguePath,
                      "Downloading screenshots && icons | " + kSite + kProducts[1].shot}));

  EXPECT_EQ(server_.TakeRequests(), (std::vector<std::string>{kCataloguePath, kProducts[0].shot, IconPath("MARSORBIT"),
                                                              kProducts[1].shot, IconPath("NEBULA")}));
  EXPECT_EQ(FolderNames(install_), std::vector<std::string>{"web"});
  EXPECT_EQ(FolderNames(install_ + "web\\"), (std::vector<std::string>{"MARSORBIT", "NEBULA", "update.xml"}))
      << "no temporary file is left behind";
  EXPECT_EQ(Cached("update.xml"), Catalogue(kProducts));
  ASSERT_EQ(catalogue.Entries().size(), 2u);
  for (const CatalogueEntry& e : catalogue.Entries()) {
    EXPECT_EQ(e.ScreenshotFile, install_ + "web\\" + e.ID + "\\screenshot.jpg");
    EXPECT_EQ(e.IconFile, install_ + "web\\" + e.ID + "\\icon.bmp");
    EXPECT_EQ(ReadFile(e.ScreenshotFile), shot_);
    EXPECT_EQ(ReadFile(e.IconFile), IconBmp());
  }

  // The cache gives the same catalogue without the network.
  ProductCatalogue cached;
  ASSERT_TRUE(CacheLoad(cached));
  EXPECT_EQ(Lines(cached), Lines(catalogue));
  EXPECT_TRUE(server_.TakeRequests().empty());

  // Cached pictures that fail their check: the cache hands out no such icon, and the next
  // update fetches both again.
  WriteFile(install_ + "web\\NEBULA\\icon.bmp", NotFoundPage());
  WriteFile(install_ + "web\\NEBULA\\screenshot.jpg", shot_.substr(0, shot_.size() / 2));
  ASSERT_TRUE(CacheLoad(cached));
  EXPECT_EQ(cached.Entries()[1].IconFile, "") << "a broken icon never reaches the system's bitmap reader";
  EXPECT_EQ(cached.Entries()[0].IconFile, install_ + "web\\MARSORBIT\\icon.bmp");
  // A product folder of the user's own, and one the new catalogue no longer lists.
  CreateDirectoryA((install_ + "web\\MINE").c_str(), nullptr);
  WriteFile(install_ + "web\\MINE\\notes.txt", "mine");
  WriteFile(install_ + "web\\MINE\\screenshot.jpg", shot_);

  // Again, where the catalogue now names another screenshot for Mars Orbit and lists Nebula
  // in another letter case beside a product of the same ID in other letters.
  std::vector<Product> moved = kProducts;
  moved[0].shot = "/shots/marsorbit-2.jpg";
  moved[1].id = "nebula";
  moved.push_back({"Nebula", "Nebula twin", "Shares the folder.", "/shots/twin.jpg"});
  server_.Serve(kCataloguePath, Catalogue(moved));
  server_.Serve(moved[0].shot, "another picture");
  server_.Serve(IconPath("nebula"), IconBmp());
  ProductCatalogue again;
  ASSERT_TRUE(WebLoad(again));
  EXPECT_EQ(server_.TakeRequests(), (std::vector<std::string>{kCataloguePath, kProducts[1].shot, IconPath("nebula")}));
  ASSERT_EQ(again.Entries().size(), 2u) << "IDs that differ in case only are one product";
  EXPECT_EQ(ReadFile(again.Entries()[0].ScreenshotFile), shot_) << "a good cached screenshot is kept";
  EXPECT_EQ(ReadFile(again.Entries()[1].ScreenshotFile), shot_);
  EXPECT_EQ(ReadFile(again.Entries()[1].IconFile), IconBmp());

  // The last catalogue leaves Nebula out: its folder goes; the user's own file keeps MINE.
  server_.Serve(kCataloguePath, Catalogue({moved[0]}));
  ASSERT_TRUE(WebLoad(again));
  EXPECT_EQ(FolderNames(install_ + "web\\"), (std::vector<std::string>{"MARSORBIT", "MINE", "update.xml"}));
  EXPECT_EQ(FolderNames(install_ + "web\\MINE\\"), std::vector<std::string>{"notes.txt"});
}

TEST_F(CatalogueWebTest, BrokenOrHostileSitesFailTheLoadAndTheLastGoodCacheStays) {
  ProductCatalogue catalogue;
  ASSERT_TRUE(WebLoad(catalogue));
  const std::string good = Cached("update.xml");
  server_.TakeRequests();

  // The catalogue with white space after it, `size` bytes in all.
  const std::string text = Catalogue(kProducts);
  const auto Padded = [&text](size_t size) { return text + std::string(size - text.size(), ' '); };
  std::vector<Product> newProduct = kProducts;
  newProduct.push_back({"GALAXY", "Galaxy", "Spiral arms.", "/shots/galaxy.jpg"});
  const std::string galaxyShot = "/shots/galaxy.jpg", galaxyIcon = IconPath("GALAXY");
  const auto ServeGalaxy = [&](const std::string& shot, const std::string& icon) {
    server_.Serve(kCataloguePath, Catalogue(newProduct));
    server_.Serve(galaxyShot, shot);
    server_.Serve(galaxyIcon, icon);
  };
  LoopbackHttpServer::Document cutShort;
  cutShort.body = shot_.substr(0, shot_.size() - 100);
  cutShort.declaredLength = static_cast<long long>(shot_.size());
  const CatalogueError download = CatalogueError::DownloadFailed, pictures = CatalogueError::PicturesFailed;
  const struct {
    const char* name;
    std::function<void()> arrange;
    std::vector<std::string> requests;  // a missing file is asked for five times
    CatalogueError code;                // none of these has a message of its own
  } cases[] = {
      {"catalogue not found", [&] { server_.Remove(kCataloguePath); }, std::vector<std::string>(5, kCataloguePath),
       download},
      {"empty catalogue", [&] { server_.Serve(kCataloguePath, ""); }, {kCataloguePath}, download},
      {"catalogue over the cap", [&] { server_.Serve(kCataloguePath, Padded(kMaxCatalogueBytes + 1)); },
       {kCataloguePath}, download},
      {"a certificate for another name", [&] { server_.UseCertificate("wrongname"); }, {}, download},
      {"a certificate of no trusted authority", [&] { server_.UseCertificate("selfsigned"); }, {}, download},
      {"a screenshot not found",
       [&] {
         server_.UseCertificate("site");
         ServeGalaxy("", IconBmp());
         server_.Remove(galaxyShot);
       },
       {kCataloguePath, galaxyShot, galaxyShot, galaxyShot, galaxyShot, galaxyShot}, pictures},
      {"a screenshot that is an HTML page", [&] { ServeGalaxy(NotFoundPage(), IconBmp()); },
       {kCataloguePath, galaxyShot}, pictures},
      {"an icon that is an HTML page", [&] { ServeGalaxy(shot_, NotFoundPage()); },
       {kCataloguePath, galaxyShot, galaxyIcon}, pictures},
      {"an icon that is a large bitmap", [&] { ServeGalaxy(shot_, ReadFile(TELLARO_STRIP_BMP)); },
       {kCataloguePath, galaxyShot, galaxyIcon}, pictures},
      {"a screenshot cut short",
       [&] {
         ServeGalaxy("", IconBmp());
         server_.Serve(galaxyShot, cutShort);
       },
       {kCataloguePath, galaxyShot}, pictures},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    ProductCatalogue failed;
    const CatalogueResult loaded = WebLoad(failed);
    EXPECT_EQ(loaded.code(), c.code) << loaded.reason();
    EXPECT_TRUE(failed.Entries().empty());
    EXPECT_EQ(server_.TakeRequests(), c.requests);
    EXPECT_EQ(Cached("update.xml"), good) << "the last good catalogue";
    ProductCatalogue cached;
    EXPECT_TRUE(CacheLoad(cached)) << "the cache still reads";
    EXPECT_EQ(Lines(cached), Lines(catalogue));
    EXPECT_EQ(FolderNames(install_ + "web\\"), (std::vector<std::string>{"MARSORBIT", "NEBULA", "update.xml"}))
        << "no temporary file and no folder of a failed picture";
  }

  // Exactly at the cap it loads: the body above failed for its size alone.
  server_.Serve(kCataloguePath, Padded(kMaxCatalogueBytes));
  EXPECT_TRUE(WebLoad(catalogue));
  EXPECT_EQ(catalogue.Entries().size(), 2u);

  // A catalogue that can't be saved: "web" is a file, not a folder.
  server_.Serve(kCataloguePath, Catalogue(kProducts));
  const std::string blocked = install_ + "blocked\\";
  CreateDirectoryA(blocked.c_str(), nullptr);
  WriteFile(blocked + "web", "a file");
  installPath_.Set(blocked);
  EXPECT_EQ(WebLoad(catalogue).code(), CatalogueError::CantSave);
  EXPECT_TRUE(catalogue.Entries().empty());

  // No installation folder: both loads say so, and nothing is fetched.
  installPath_.Delete();
  server_.TakeRequests();
  EXPECT_EQ(WebLoad(catalogue).code(), CatalogueError::NoInstallPath);
  EXPECT_EQ(CacheLoad(catalogue).code(), CatalogueError::NoInstallPath);
  EXPECT_TRUE(server_.TakeRequests().empty());
}

// Products named like the cache's own files, and what an earlier version or a killed update
// left in the cache: the products with such names are left out and the rest kept; a catalogue
// that can't be written leaves nothing new behind; the next good update cleans up and lists
// its products.
TEST_F(CatalogueWebTest, NamesOfTheCachesOwnAndLeftoversNeverLockTheCache) {
  const std::string web = install_ + "web\\";
  std::vector<Product> hostile = {{"testfilename001.fileext", "Probe", "The old probe's name.", "/shots/probe.jpg"},
                                  {"update.xml", "Catalogue", "Would hide the catalogue.", "/shots/u1.jpg"},
                                  {"UPDATE.XML", "Catalogue", "In capitals.", "/shots/u2.jpg"},
                                  {"tlr1.tmp", "Temporary", "Would be swept.", "/shots/t.jpg"},
                                  kProducts[0]};
  for (const Product& p : hostile) {
    server_.Serve(p.shot, shot_);
    server_.Serve(IconPath(p.id), IconBmp());
  }
  server_.Serve(kCataloguePath, Catalogue(hostile));
  ProductCatalogue catalogue;
  ASSERT_TRUE(WebLoad(catalogue));
  EXPECT_EQ(Lines(catalogue).size(), 2u);
  EXPECT_EQ(FolderNames(web), (std::vector<std::string>{"MARSORBIT", "testfilename001.fileext", "update.xml"}));
  EXPECT_EQ(Cached("update.xml"), Catalogue(hostile)) << "the catalogue is a file, never a product's folder";

  // An earlier version's product folder named like the catalogue (holding a file of the
  // user's, so it can't go) and temporary files of a killed update: the catalogue can't be
  // written, and nothing the update fetched stays.
  DeleteFileA((web + "update.xml").c_str());
  CreateDirectoryA((web + "Update.xml").c_str(), nullptr);
  WriteFile(web + "Update.xml\\screenshot.jpg", shot_);
  WriteFile(web + "Update.xml\\mine.txt", "mine");
  WriteFile(web + "tlr1A.tmp", "half a catalogue");
  WriteFile(web + "MARSORBIT\\tlrB2.tmp", "half a picture");
  server_.Serve(kCataloguePath, Catalogue(kProducts));
  EXPECT_EQ(WebLoad(catalogue).code(), CatalogueError::CantSave);
  EXPECT_TRUE(catalogue.Entries().empty());
  EXPECT_EQ(FolderNames(web), std::vector<std::string>{"Update.xml"}) << "no catalogue on disk lists a product";
  EXPECT_EQ(FolderNames(web + "Update.xml\\"), std::vector<std::string>{"mine.txt"});

  // The user's file gone, the good catalogue's update succeeds and lists its products.
  DeleteFileA((web + "Update.xml\\mine.txt").c_str());
  WriteFile(web + "tlr1A.tmp", "half a catalogue");
  server_.TakeRequests();
  ASSERT_TRUE(WebLoad(catalogue));
  EXPECT_EQ(Lines(catalogue).size(), kProducts.size());
  EXPECT_EQ(FolderNames(web), (std::vector<std::string>{"MARSORBIT", "NEBULA", "update.xml"}));
  EXPECT_EQ(FolderNames(web + "MARSORBIT\\"), (std::vector<std::string>{"icon.bmp", "screenshot.jpg"}));
  EXPECT_EQ(Cached("update.xml"), Catalogue(kProducts));
  ProductCatalogue cached;
  ASSERT_TRUE(CacheLoad(cached));
  EXPECT_EQ(Lines(cached), Lines(catalogue));
  server_.TakeRequests();
}

// Pictures that are each within their own bound but together over the cache's: the update
// fails at the first one too many, and neither the catalogue that asked for them nor any of
// them is kept.
TEST_F(CatalogueWebTest, PicturesBeyondTheCachesTotalFailTheUpdate) {
  const std::string large = shot_ + std::string(kMaxScreenshotBytes - shot_.size(), '\0');
  std::vector<Product> many;
  for (uint64_t n = 0; n * (kMaxScreenshotBytes + IconBmp().size()) <= kMaxCacheBytes; ++n) {
    many.push_back({"P" + std::to_string(n), "Product", "Large.", "/shots/p" + std::to_string(n) + ".jpg"});
    server_.Serve(many.back().shot, large);
    server_.Serve(IconPath(many.back().id), IconBmp());
  }
  ASSERT_LE(many.size(), static_cast<size_t>(kMaxProducts));
  server_.Serve(kCataloguePath, Catalogue(many));
  ProductCatalogue catalogue;
  EXPECT_FALSE(WebLoad(catalogue));
  EXPECT_TRUE(catalogue.Entries().empty());
  const std::vector<std::string> requests = server_.TakeRequests();
  EXPECT_EQ(requests.size(), 2 * many.size()) << "the catalogue, every picture but the last icon";
  EXPECT_EQ(FolderNames(install_ + "web\\"), std::vector<std::string>()) << "nothing of it stays";
}

// A site that sends a byte now and then: the whole update ends at its deadline, the progress
// window answers all the while, the last good cache stays, and the next update works.
TEST_F(CatalogueWebTest, ASlowSiteEndsAtTheDeadlineWhileTheProgressWindowAnswers) {
  ProductCatalogue catalogue;
  ASSERT_TRUE(WebLoad(catalogue));
  const std::string good = Cached("update.xml");
  server_.TakeRequests();

  WebUpdateTimes times;
  times.deadlineMs = 4000;
  times.receiveTimeoutMs = 2000;  // longer than a byte's wait: only the deadline can end it
  LoopbackHttpServer::Document slow;
  slow.dripMs = 250;
  std::vector<Product> newProduct = kProducts;
  newProduct.push_back({"GALAXY", "Galaxy", "Spiral arms.", "/shots/galaxy.jpg"});
  const struct {
    const char* name;
    std::function<void()> arrange;
    CatalogueError code;
  } cases[] = {
      {"a slow catalogue",
       [&] {
         slow.body = Catalogue(kProducts);
         server_.Serve(kCataloguePath, slow);
       },
       CatalogueError::DownloadFailed},
      {"a slow screenshot",
       [&] {
         server_.Serve(kCataloguePath, Catalogue(newProduct));
         slow.body = shot_;
         server_.Serve(newProduct.back().shot, slow);
       },
       CatalogueError::PicturesFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    CProgressWindow progress;
    ASSERT_TRUE(progress.Create());
    // Another thread asks the progress window for its text every 100 ms, as the system does
    // for a window it may call hung. A window that keeps its messages answers most of them,
    // however loaded the machine; one frozen until the deadline answers none in the wait.
    std::atomic<bool> loading{true};
    std::atomic<int> asked{0}, unanswered{0};
    std::thread prober([&] {
      while (loading) {
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutA(progress.Handle(), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &length))
          ++unanswered;
        ++asked;
        Sleep(100);
      }
    });
    const DWORD start = GetTickCount();
    ProductCatalogue failed;
    const CatalogueResult loaded = WebLoad(failed, &progress, times);
    const DWORD took = GetTickCount() - start;
    loading = false;
    prober.join();
    progress.End();
    EXPECT_EQ(loaded.code(), c.code) << loaded.reason();
    EXPECT_TRUE(failed.Entries().empty());
    EXPECT_GE(took, times.deadlineMs - 100);
    EXPECT_LT(took, times.deadlineMs + 2000) << "ended at the deadline";
    EXPECT_GE(asked.load() - unanswered.load(), 10) << "the progress window answered " << asked.load() - unanswered.load()
                                                     << " of " << asked.load() << " questions";
    EXPECT_EQ(Cached("update.xml"), good);
    EXPECT_EQ(FolderNames(install_ + "web\\"), (std::vector<std::string>{"MARSORBIT", "NEBULA", "update.xml"}));
  }

  // The site mended, the next update loads again.
  server_.Serve(kCataloguePath, Catalogue(newProduct));
  server_.Serve(newProduct.back().shot, shot_);
  server_.Serve(IconPath("GALAXY"), IconBmp());
  EXPECT_TRUE(WebLoad(catalogue));
  EXPECT_EQ(catalogue.Entries().size(), 3u);
  server_.TakeRequests();
}

// The page as the settings dialog places it, with a download address that is a program of
// the test's own rather than a web address: its button must not start it.
TEST_F(CatalogueWebTest, ProductPageShowsTheProductAndRefusesToStartAnythingButASecureWebAddress) {
  ProductCatalogue catalogue;
  ASSERT_TRUE(WebLoad(catalogue));
  const CatalogueEntry& mars = catalogue.Entries()[0];
  HWND parent = CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 440,
                                340, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  const std::string program = WindowsPath(TELLARO_MARKER_PATH), marker = program + ".ran";
  std::remove(marker.c_str());

  CProductInfoPage page;
  const RECT area{6, 6, 414, 295};  // about the dialog's page area
  ASSERT_TRUE(page.Create(area, parent, mars.Title, mars.DescriptionText, program, mars.ScreenshotFile));
  ShowWindow(page.Handle(), SW_SHOWNA);
  const std::pair<int, const char*> lines[] = {{IDC_PRODUCT_TITLE, "Mars Orbit"},
                                               {IDC_DESCRIPTION1, "A red planet turns in space with its two moons."},
                                               {IDC_DESCRIPTION3, "Three camera tours."}};
  for (const auto& [control, expected] : lines) {
    char text[300];
    GetDlgItemTextA(page.Handle(), control, text, sizeof text);
    EXPECT_STREQ(text, expected);
  }
  HWND picture = GetDlgItem(page.Handle(), IDC_SCREENSHOT);
  HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
  ASSERT_NE(bitmap, nullptr) << "the screenshot is shown";
  BITMAP size{};
  GetObjectA(bitmap, sizeof size, &size);
  RECT client;
  GetClientRect(picture, &client);
  EXPECT_EQ(std::make_pair(size.bmWidth, size.bmHeight), std::make_pair(client.right, client.bottom))
      << "scaled to the picture control";
  LookIfAsked();

  SendDlgItemMessageA(page.Handle(), IDC_DOWNLOAD_NOW, BM_CLICK, 0, 0);
  // A program started by the click would have left its marker by the time a copy of it,
  // started only now, has left its own.
  const std::string later = program + ".later.exe";
  ASSERT_TRUE(CopyFileA(program.c_str(), later.c_str(), FALSE));
  ChildProcess sentinel;
  ASSERT_TRUE(sentinel.Start(later, ""));
  EXPECT_TRUE(sentinel.WaitForExit(30000));
  ASSERT_NE(GetFileAttributesA((later + ".ran").c_str()), INVALID_FILE_ATTRIBUTES) << "the later copy left no marker";
  EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the click started the program";
  DeleteFileA((later + ".ran").c_str());
  DeleteFileA(later.c_str());
  page.Destroy();
  EXPECT_EQ(GetObjectType(bitmap), 0u) << "the page's bitmap went with its window";
  DestroyWindow(parent);
}

}  // namespace
