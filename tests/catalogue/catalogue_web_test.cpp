// The online catalogue under Wine against a real HTTP server of the test's own on loopback,
// which WinInet reaches as the proxy of the test prefix: the whole web load into a temporary
// installation folder with the progress window seen from the server while it serves, the
// cache load afterwards, a second web load that fetches only the catalogue, every failure
// with its message box (or none), and the product page with a download address it refuses.
// Nothing is sent anywhere but 127.0.0.1.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/catalogue_ids.h"
#include "catalogue/http_fetch.h"
#include "catalogue/product_catalogue.h"
#include "catalogue/product_info_page.h"
#include "catalogue/progress_window.h"
#include "framework/app.h"
#include "tests/catalogue/loopback_http_server.h"
#include "tests/support/win_process.h"

namespace {

const char kSite[] = "http://www.kestrune.example";
const char kCatalogueUrl[] = "http://www.kestrune.example/halcyonix/update.xml";
const char kProgressCaption[] = "Web Update. Please wait...";

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

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
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path + "\\");
      RemoveDirectoryA(path.c_str());
    } else {
      DeleteFileA(path.c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
}

// A registry string or number of HKEY_CURRENT_USER set for the test's time, then put back
// as it was (deleted when it wasn't there).
class ScopedValue {
 public:
  ScopedValue(const char* key, const char* name) : key_(key), name_(name) {
    DWORD size = 0;
    had_ = RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type_, nullptr, &size) == ERROR_SUCCESS;
    if (had_) {
      old_.resize(size);
      RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &type_, old_.data(), &size);
    }
  }
  ~ScopedValue() {
    if (had_) RegSetKeyValueA(HKEY_CURRENT_USER, key_, name_, type_, old_.data(), static_cast<DWORD>(old_.size()));
    else Delete();
  }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

  void Set(const std::string& text) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key_, name_, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  void Set(DWORD number) { RegSetKeyValueA(HKEY_CURRENT_USER, key_, name_, REG_DWORD, &number, sizeof number); }
  void Delete() { RegDeleteKeyValueA(HKEY_CURRENT_USER, key_, name_); }

 private:
  const char* key_;
  const char* name_;
  bool had_ = false;
  DWORD type_ = 0;
  std::vector<char> old_;
};

// Message boxes of one thread, read from another thread while they are up, then dismissed.
class BoxWatcher {
 public:
  explicit BoxWatcher(DWORD threadId) : threadId_(threadId), thread_([this] { Run(); }) {}
  ~BoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::string> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  static BOOL CALLBACK Find(HWND hwnd, LPARAM lParam) {
    char name[32] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(hwnd) && GetDlgItem(hwnd, 0xFFFF)) {
      *reinterpret_cast<HWND*>(lParam) = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  void Run() {
    while (!stop_) {
      HWND box = nullptr;
      EnumThreadWindows(threadId_, &Find, reinterpret_cast<LPARAM>(&box));
      if (!box) {
        Sleep(10);
        continue;
      }
      char text[512] = "";
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(text);
      }
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      while (!stop_ && IsWindow(box) && IsWindowVisible(box)) Sleep(10);
    }
  }

  DWORD threadId_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> seen_;
  std::thread thread_;
};

// A 32x32 bitmap file: a disc of `colour` on magenta, the transparent colour of the list.
std::string IconBmp(COLORREF colour) {
  const int size = 32, stride = size * 3, pixelBytes = stride * size;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + pixelBytes;
  info.biSize = sizeof info;
  info.biWidth = size;
  info.biHeight = size;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const bool inside = (x - 16) * (x - 16) + (y - 16) * (y - 16) < 13 * 13;
      const COLORREF c = inside ? colour : RGB(255, 0, 255);
      bytes += static_cast<char>(GetBValue(c));
      bytes += static_cast<char>(GetGValue(c));
      bytes += static_cast<char>(GetRValue(c));
    }
  return bytes;
}

struct Product {
  std::string id, title, description, screenshot, icon, download;
  bool withDownload = true;
};

std::string Catalogue(const std::vector<Product>& products) {
  std::string xml = "<?xml version=\"1.0\"?>\n<English>\n <ProductsList>\n  <Count>" +
                    std::to_string(products.size()) + "</Count>\n";
  for (size_t n = 0; n < products.size(); ++n) {
    const Product& p = products[n];
    const std::string tag = "Product" + std::to_string(n + 1);
    xml += "  <" + tag + ">\n   <ID>" + p.id + "</ID>\n   <Title>" + p.title + "</Title>\n";
    if (p.id != "TELLARO") {
      xml += "   <Version>1.0</Version>\n   <Description>\n    <Text>" + p.description + "</Text>\n" +
             "    <ScreenshotURL>" + kSite + p.screenshot + "</ScreenshotURL>\n    <IconURL>" + kSite + p.icon +
             "</IconURL>\n   </Description>\n";
      if (p.withDownload) xml += "   <DownloadURL>" + p.download + "</DownloadURL>\n";
    }
    xml += "  </" + tag + ">\n";
  }
  return xml + " </ProductsList>\n</English>\n";
}

// This product (with its title only: nothing else of it is read), two siblings, and one whose
// ID would climb out of the cache.
std::vector<Product> Products() {
  return {
      {"TELLARO", "Tellaro", "", "", "", ""},
      {"MARSORBIT", "Mars Orbit",
       "A red planet turns in space with its two moons.\nSeveral thousand catalogue stars.\nThree camera tours.",
       "/halcyonix/shots/marsorbit.jpg", "/halcyonix/icons/marsorbit.bmp",
       "http://www.kestrune.example/halcyonix/get/marsorbit.exe"},
      {"..\\..\\escape", "Escape", "Outside", "/halcyonix/shots/escape.jpg", "/halcyonix/icons/escape.bmp",
       "http://www.kestrune.example/halcyonix/get/escape.exe"},
      {"NEBULA", "Nebula", "Gas clouds lit by young stars.", "/halcyonix/shots/nebula.jpg",
       "/halcyonix/icons/nebula.bmp", "http://www.kestrune.example/halcyonix/get/nebula.exe"},
  };
}

std::string WindowText(HWND window) {
  // Read without a message: the window's thread is blocked inside the download.
  wchar_t wide[512] = L"";
  const int length = InternalGetWindowText(window, wide, 512);
  std::string text;
  for (int i = 0; i < length; ++i) text += static_cast<char>(wide[i]);
  return text;
}

void Pump(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  MSG message;
  do {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (fw::RouteDialogMessage(&message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  } while (static_cast<int32_t>(end - GetTickCount()) > 0);
}

class CatalogueWebTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(server_.Port(), 0);
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

    marsShot_ = ReadFile(std::string(TELLARO_DATA_DIR) + "/phobos2.jpg");
    nebulaShot_ = ReadFile(std::string(TELLARO_DATA_DIR) + "/atmos.jpg");
    ASSERT_FALSE(marsShot_.empty());
    server_.Serve("/halcyonix/update.xml", Catalogue(Products()));
    server_.Serve("/halcyonix/shots/marsorbit.jpg", marsShot_);
    server_.Serve("/halcyonix/icons/marsorbit.bmp", IconBmp(RGB(200, 90, 40)));
    server_.Serve("/halcyonix/shots/escape.jpg", marsShot_);
    server_.Serve("/halcyonix/icons/escape.bmp", IconBmp(RGB(0, 0, 0)));
    server_.Serve("/halcyonix/shots/nebula.jpg", nebulaShot_);
    server_.Serve("/halcyonix/icons/nebula.bmp", IconBmp(RGB(60, 120, 220)));
  }
  void TearDown() override {
    EXPECT_EQ(server_.StrangeRequests(), std::vector<std::string>()) << "every request went to the catalogue's site";
    RemoveTree(root_);
  }

  // Loads from the web with the boxes of this thread dismissed and noted.
  bool WebLoad(ProductCatalogue* catalogue, std::vector<std::string>* boxes, DownloadProgress* progress = nullptr) {
    BoxWatcher watcher(GetCurrentThreadId());
    const bool loaded = catalogue->LoadFromWeb(CatalogueAddress(), progress);
    *boxes = watcher.Seen();
    return loaded;
  }
  bool CacheLoad(ProductCatalogue* catalogue, std::vector<std::string>* boxes) {
    BoxWatcher watcher(GetCurrentThreadId());
    const bool loaded = catalogue->LoadFromCache();
    *boxes = watcher.Seen();
    return loaded;
  }

  LoopbackHttpServer server_;
  ScopedValue installPath_{"Software\\Kestrune\\Halcyonix\\Tellaro", "InstallPath"};
  ScopedValue proxyEnable_{"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "ProxyEnable"};
  ScopedValue proxyServer_{"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", "ProxyServer"};
  std::string root_, install_, marsShot_, nebulaShot_;
};

std::vector<std::string> Ids(const ProductCatalogue& catalogue) {
  std::vector<std::string> ids;
  for (const CatalogueEntry& entry : catalogue.Entries()) ids.push_back(entry.ID);
  return ids;
}

TEST_F(CatalogueWebTest, WebLoadFillsTheCacheWhileTheProgressWindowShowsAndASecondOneFetchesOnlyTheCatalogue) {
  EXPECT_EQ(CatalogueAddress(), kCatalogueUrl) << "string resource 3";

  // The progress window as the server sees it while it answers.
  struct Seen {
    std::string path;
    bool visible;
    std::string status, location;
  };
  std::mutex seenMutex;
  std::vector<Seen> seen;
  for (const char* path : {"/halcyonix/update.xml", "/halcyonix/shots/nebula.jpg"}) {
    server_.OnRequest(path, [&seen, &seenMutex, path] {
      HWND window = FindWindowA(nullptr, kProgressCaption);
      Seen now{path, window && IsWindowVisible(window), "", ""};
      if (window) {
        now.status = WindowText(GetDlgItem(window, IDC_PROGRESS_STATUS));
        now.location = WindowText(GetDlgItem(window, IDC_PROGRESS_LOCATION));
      }
      std::lock_guard<std::mutex> lock(seenMutex);
      seen.push_back(now);
    });
  }

  ProductCatalogue catalogue;
  std::vector<std::string> boxes;
  CProgressWindow progress;
  ASSERT_TRUE(progress.Create());
  HWND progressWindow = progress.Handle();
  if (const char* look = std::getenv("TELLARO_LOOK_MS")) {
    progress.SetStatus("Downloading screenshots && icons");
    progress.SetLocation("http://www.kestrune.example/halcyonix/shots/marsorbit.jpg");
    progress.SetPercent(37);
    Pump(static_cast<DWORD>(std::atoi(look)));
  }
  ASSERT_TRUE(WebLoad(&catalogue, &boxes, &progress));
  progress.End();
  EXPECT_FALSE(IsWindow(progressWindow));
  EXPECT_EQ(FindWindowA(nullptr, kProgressCaption), nullptr) << "the window goes when the download ends";
  EXPECT_TRUE(boxes.empty());

  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].visible && seen[1].visible) << "shown during the download";
  EXPECT_EQ(seen[0].status, "Downloading available products list...");
  EXPECT_EQ(seen[0].location, kCatalogueUrl);
  EXPECT_EQ(seen[1].status, "Downloading screenshots && icons");
  EXPECT_EQ(seen[1].location, std::string(kSite) + "/halcyonix/shots/nebula.jpg");

  // This product and the one whose ID leaves the cache are not listed, fetched or written.
  EXPECT_EQ(Ids(catalogue), (std::vector<std::string>{"MARSORBIT", "NEBULA"}));
  EXPECT_EQ(server_.TakeRequests(),
            (std::vector<std::string>{"/halcyonix/update.xml", "/halcyonix/shots/marsorbit.jpg",
                                      "/halcyonix/icons/marsorbit.bmp", "/halcyonix/shots/nebula.jpg",
                                      "/halcyonix/icons/nebula.bmp"}));
  EXPECT_EQ(FolderNames(root_), std::vector<std::string>{"install"});
  EXPECT_EQ(FolderNames(install_), std::vector<std::string>{"web"});
  EXPECT_EQ(FolderNames(install_ + "web\\"), (std::vector<std::string>{"MARSORBIT", "NEBULA", "update.xml"}))
      << "no temporary file is left behind";
  EXPECT_EQ(ReadFile(install_ + "web\\update.xml"), Catalogue(Products()));
  const CatalogueEntry& mars = catalogue.Entries()[0];
  EXPECT_EQ(mars.Screenshot, install_ + "web\\MARSORBIT\\screenshot.jpg");
  EXPECT_EQ(mars.Icon, install_ + "web\\MARSORBIT\\icon.bmp");
  EXPECT_EQ(ReadFile(mars.Screenshot), marsShot_);
  EXPECT_EQ(ReadFile(mars.Icon), IconBmp(RGB(200, 90, 40)));
  EXPECT_EQ(mars.DownloadURL, "http://www.kestrune.example/halcyonix/get/marsorbit.exe");
  EXPECT_EQ(ReadFile(catalogue.Entries()[1].Screenshot), nebulaShot_);

  // The cache gives the same catalogue without the network.
  ProductCatalogue cached;
  ASSERT_TRUE(CacheLoad(&cached, &boxes));
  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(Ids(cached), Ids(catalogue));
  for (size_t i = 0; i < cached.Entries().size(); ++i) {
    EXPECT_EQ(cached.Entries()[i].Title, catalogue.Entries()[i].Title);
    EXPECT_EQ(cached.Entries()[i].DescriptionText, catalogue.Entries()[i].DescriptionText);
    EXPECT_EQ(cached.Entries()[i].Screenshot, catalogue.Entries()[i].Screenshot);
    EXPECT_EQ(cached.Entries()[i].Icon, catalogue.Entries()[i].Icon);
  }
  EXPECT_TRUE(server_.TakeRequests().empty());

  // Again: only the catalogue, even where it now names another screenshot.
  std::vector<Product> moved = Products();
  moved[1].screenshot = "/halcyonix/shots/marsorbit-2.jpg";
  server_.Serve("/halcyonix/update.xml", Catalogue(moved));
  server_.Serve("/halcyonix/shots/marsorbit-2.jpg", nebulaShot_);
  ProductCatalogue again;
  ASSERT_TRUE(WebLoad(&again, &boxes));
  EXPECT_EQ(server_.TakeRequests(), std::vector<std::string>{"/halcyonix/update.xml"});
  EXPECT_EQ(ReadFile(again.Entries()[0].Screenshot), marsShot_) << "a cached screenshot is kept";
}

TEST_F(CatalogueWebTest, FailedLoadsEmptyTheCatalogueAndKeepTheLastGoodCache) {
  ProductCatalogue catalogue;
  std::vector<std::string> boxes;
  ASSERT_TRUE(WebLoad(&catalogue, &boxes));
  const std::string good = ReadFile(install_ + "web\\update.xml");
  server_.TakeRequests();

  // The catalogue with white space after it, `size` bytes in all.
  const std::string text = Catalogue(Products());
  const auto Padded = [&text](size_t size) { return text + std::string(size - text.size(), ' '); };
  std::vector<Product> withoutDownload = Products();
  withoutDownload[3].withDownload = false;  // the second product listed
  std::vector<Product> newProduct = Products();
  newProduct.push_back({"GALAXY", "Galaxy", "Spiral arms.", "/halcyonix/shots/galaxy.jpg",
                        "/halcyonix/icons/galaxy.bmp", "http://www.kestrune.example/halcyonix/get/galaxy.exe"});
  const struct {
    const char* name;
    std::function<void()> arrange;
    std::vector<std::string> requests;
    bool catalogueKept;  // the catalogue itself was not usable, so the cached one stays
  } cases[] = {
      {"catalogue not found", [&] { server_.Remove("/halcyonix/update.xml"); },
       std::vector<std::string>(5, "/halcyonix/update.xml"), true},
      {"empty catalogue", [&] { server_.Serve("/halcyonix/update.xml", ""); }, {"/halcyonix/update.xml"}, true},
      {"body over the cap", [&] { server_.Serve("/halcyonix/update.xml", Padded(kMaxDownloadBytes + 1)); },
       {"/halcyonix/update.xml"}, true},
      {"a product without its download address",
       [&] { server_.Serve("/halcyonix/update.xml", Catalogue(withoutDownload)); },
       {"/halcyonix/update.xml"}, true},
      {"a screenshot not found", [&] { server_.Serve("/halcyonix/update.xml", Catalogue(newProduct)); },
       {"/halcyonix/update.xml", "/halcyonix/shots/galaxy.jpg", "/halcyonix/shots/galaxy.jpg",
        "/halcyonix/shots/galaxy.jpg", "/halcyonix/shots/galaxy.jpg", "/halcyonix/shots/galaxy.jpg"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    ProductCatalogue failed;
    EXPECT_FALSE(WebLoad(&failed, &boxes));
    EXPECT_TRUE(failed.Entries().empty());
    EXPECT_TRUE(boxes.empty()) << "no message of its own";
    EXPECT_EQ(server_.TakeRequests(), c.requests);
    ProductCatalogue cached;
    EXPECT_TRUE(CacheLoad(&cached, &boxes)) << "the cache still reads";
    if (c.catalogueKept) {
      EXPECT_EQ(ReadFile(install_ + "web\\update.xml"), good) << "the last good catalogue";
    }
  }
  EXPECT_EQ(FolderNames(install_ + "web\\"), (std::vector<std::string>{"MARSORBIT", "NEBULA", "update.xml"}))
      << "no temporary file and no folder of a failed picture";

  // Exactly at the cap it loads: the body above failed for its size alone.
  server_.Serve("/halcyonix/update.xml", Padded(kMaxDownloadBytes));
  EXPECT_TRUE(WebLoad(&catalogue, &boxes));
  EXPECT_EQ(Ids(catalogue), (std::vector<std::string>{"MARSORBIT", "NEBULA"}));

  // A catalogue that can't be saved: "web" is a file, not a folder.
  server_.Serve("/halcyonix/update.xml", Catalogue(Products()));
  const std::string blocked = root_ + "blocked\\";
  CreateDirectoryA(blocked.c_str(), nullptr);
  std::ofstream(blocked + "web") << "a file";
  installPath_.Set(blocked);
  EXPECT_FALSE(WebLoad(&catalogue, &boxes));
  EXPECT_TRUE(catalogue.Entries().empty());
  EXPECT_EQ(boxes, std::vector<std::string>{"Can't save temporary data! \n\t\t\tPlease check free disk space or "
                                            "access rights \n\t\t\tfor program's installation path, or reinstall "
                                            "the program."});

  // No installation folder: each load says so in its own words, and nothing is fetched.
  installPath_.Delete();
  server_.TakeRequests();
  EXPECT_FALSE(WebLoad(&catalogue, &boxes));
  EXPECT_EQ(boxes, std::vector<std::string>{"Can't find program's installation path.\nPlease reinstall this software!"});
  EXPECT_FALSE(CacheLoad(&catalogue, &boxes));
  EXPECT_EQ(boxes, std::vector<std::string>{
                       "Can't find program's installation path.\n\t\t\tPlease reinstall this software!"});
  EXPECT_TRUE(server_.TakeRequests().empty());
}

// The page as the settings dialog places it, then its download button with addresses that
// are not web addresses: a program of the test's own, the same as a file URL, and a network
// path. None of them may start anything.
TEST_F(CatalogueWebTest, ProductPageShowsTheProductAndRefusesToStartAnythingButAWebAddress) {
  ProductCatalogue catalogue;
  std::vector<std::string> boxes;
  ASSERT_TRUE(WebLoad(&catalogue, &boxes));
  const CatalogueEntry& mars = catalogue.Entries()[0];

  HWND parent = CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 440,
                                340, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  const std::string marker = WindowsPath(TELLARO_MARKER_PATH) + ".ran";
  std::remove(marker.c_str());
  const std::string program = WindowsPath(TELLARO_MARKER_PATH);
  std::string fileUrl = "file:///" + program;
  for (char& c : fileUrl)
    if (c == '\\') c = '/';
  for (const std::string& address : {mars.DownloadURL, program, fileUrl, std::string("\\\\127.0.0.1\\c$\\get.exe")}) {
    SCOPED_TRACE(address);
    CProductInfoPage page;
    const RECT rect{0, 0, 10, 10};
    ASSERT_TRUE(page.Create(rect, parent, mars.Title, mars.DescriptionText, address, mars.Screenshot));
    RECT area{0, 0, 272, 178};  // the dialog's page area in dialog units
    MapDialogRect(page.Handle(), &area);
    OffsetRect(&area, 6, 6);
    MoveWindow(page.Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    RECT frame{0, 0, area.right + 6, area.bottom + 6};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT);
    SetWindowPos(parent, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(page.Handle(), SW_SHOWNA);

    char text[300];
    GetDlgItemTextA(page.Handle(), IDC_PRODUCT_TITLE, text, sizeof text);
    EXPECT_STREQ(text, "Mars Orbit");
    GetDlgItemTextA(page.Handle(), IDC_DESCRIPTION1, text, sizeof text);
    EXPECT_STREQ(text, "A red planet turns in space with its two moons.");
    GetDlgItemTextA(page.Handle(), IDC_DESCRIPTION3, text, sizeof text);
    EXPECT_STREQ(text, "Three camera tours.");
    HWND picture = GetDlgItem(page.Handle(), IDC_SCREENSHOT);
    HGDIOBJ bitmap = reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr) << "the screenshot is shown";
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    RECT client;
    GetClientRect(picture, &client);
    EXPECT_EQ(size.bmWidth, client.right) << "scaled to the picture control";
    EXPECT_EQ(size.bmHeight, client.bottom);

    if (address == mars.DownloadURL) {
      if (const char* look = std::getenv("TELLARO_LOOK_MS")) Pump(static_cast<DWORD>(std::atoi(look)));
    } else {
      SendDlgItemMessageA(page.Handle(), IDC_DOWNLOAD_NOW, BM_CLICK, 0, 0);
      Pump(1500);
      EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was started";
    }
    page.Destroy();
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the page's bitmap went with its window";
  }
  DestroyWindow(parent);
}

}  // namespace
