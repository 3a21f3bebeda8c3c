// The settings dialog as a user drives it, from outside: "tellaro.scr /c" runs as its own
// process; a sibling is a second copy of the program registered under another key; the
// catalogue comes from a loopback web site of the test's own, over TLS (tls_site.py).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/registry_names.h"
#include "settings/settings_ids.h"
#include "tests/catalogue/loopback_http_server.h"
#include "tests/catalogue/test_authority.h"
#include "tests/catalogue/test_pictures.h"
#include "tests/support/test_registry.h"
#include "tests/support/wait_until.h"
#include "tests/support/win_process.h"

namespace {

const char kCaption[] = "Halcyonix collection:  Tellaro screensaver";
const std::string kCollection = registry_names::kCollectionKey;
const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

// The settings page shown in the dialog, of whichever process: the window that holds the
// animation speed trackbar.
HWND ShownPage(HWND dialog) {
  struct Search {
    HWND page;
  } search{nullptr};
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM lParam) -> BOOL {
        if (GetDlgCtrlID(child) != IDC_ANIMATION_SPEED || !IsWindowVisible(child)) return TRUE;
        reinterpret_cast<Search*>(lParam)->page = GetParent(child);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.page;
}

// Waits for the page shown to belong to a process other than (or the same as) the dialog's.
HWND WaitForPage(HWND dialog, bool sibling) {
  for (int i = 0; i < 200; ++i) {
    HWND page = ShownPage(dialog);
    if (page && (ProcessOf(page) != ProcessOf(dialog)) == sibling) return page;
    Sleep(50);
  }
  return nullptr;
}

// The rectangle of list item `index` on the screen, asked of the list in its own process:
// the answer is written into memory lent to that process.
RECT ItemRect(HWND list, int index) {
  RECT rect{LVIR_BOUNDS, 0, 0, 0};
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(list));
  void* lent = process ? VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE) : nullptr;
  if (lent && WriteProcessMemory(process, lent, &rect, sizeof rect, nullptr) &&
      SendMessageTimeoutA(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(lent),
                          SMTO_ABORTIFHUNG, 5000, nullptr))
    ReadProcessMemory(process, lent, &rect, sizeof rect, nullptr);
  if (lent) VirtualFreeEx(process, lent, 0, MEM_RELEASE);
  if (process) CloseHandle(process);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Ends when the process of `window` has ended, or after `milliseconds`; true when it ended.
bool ProcessEnds(HWND window, DWORD milliseconds) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(window));
  if (!process) return true;  // already gone
  const bool ended = WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

// The full-screen window of a process other than this test's and the given ones: the run
// that a Preview started.
HWND WaitForRun(std::vector<DWORD> others, DWORD milliseconds = 20000) {
  others.push_back(GetCurrentProcessId());
  struct Search {
    const std::vector<DWORD>* others;
    HWND found;
  } search{&others, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND window, LPARAM lParam) -> BOOL {
              auto* found = reinterpret_cast<Search*>(lParam);
              RECT rect;
              if (!IsWindowVisible(window) || !GetWindowRect(window, &rect) ||
                  rect.right - rect.left < GetSystemMetrics(SM_CXSCREEN) ||
                  rect.bottom - rect.top < GetSystemMetrics(SM_CYSCREEN))
                return TRUE;
              const DWORD process = ProcessOf(window);
              for (DWORD other : *found->others)
                if (other == process) return TRUE;
              found->found = window;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      milliseconds);
  return search.found;
}

// The texts of the next `count` message boxes of the process, each a plain OK box answered
// with OK once read, in the order they came.
std::vector<std::string> AnswerBoxes(const ChildProcess& process, int count) {
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) {
    HWND box = process.WaitForMessageBox(15000);
    if (!box) break;
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    texts.push_back(text);
    EXPECT_TRUE(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL)) << text;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "the box stayed after OK: " << text;
  }
  return texts;
}

// A key ends the run that a Preview started; its program then ends as a whole.
void EndRunWithAKey(HWND run) {
  PostMessageA(run, WM_KEYDOWN, VK_SPACE, 1);
  EXPECT_TRUE(ProcessEnds(run, 20000)) << "the run's window went, its program stayed";
}

std::string NebulaProduct(int n) {
  const std::string tag = "Product" + std::to_string(n);
  return "<" + tag + "><ID>NEBULA</ID><Title>Nebula</Title><Version>1.0</Version><Description>"
         "<Text>Gas clouds lit by young stars.</Text>"
         "<ScreenshotURL>https://www.kestrune.example/shots/nebula.jpg</ScreenshotURL>"
         "<IconURL>https://www.kestrune.example/icons/nebula.bmp</IconURL></Description>"
         "<DownloadURL>https://www.kestrune.example/get/nebula.exe</DownloadURL></" + tag + ">";
}

class SettingsDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    install_ = std::string(temp) + "tellaro-dialog-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(install_.c_str(), nullptr);
    SetStringValue(kTellaroKey, "InstallPath", install_);
    Register("Tellaro", "Tellaro", WindowsPath(TELLARO_SCR_PATH));
  }
  void TearDown() override {
    saver_.Kill();
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kInternetSettings, "ProxyServer");
    DeleteFileA((install_ + "sibling.scr").c_str());
    RemoveFolder(install_ + "web");
    RemoveDirectoryA(install_.c_str());
  }
  static void RemoveFolder(const std::string& folder) {
    const std::string command = "cmd /c rmdir /s /q \"" + folder + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = command;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
      WaitForSingleObject(info.hProcess, 10000);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
  static void Register(const std::string& key, const std::string& title, const std::string& program) {
    SetStringValue(kCollection + "\\List", key.c_str(), title);
    SetStringValue(kCollection + "\\" + key, "ExecutablePath", program);
  }
  std::string AddSibling() {
    const std::string sibling = install_ + "sibling.scr";
    CopyFileA(WindowsPath(TELLARO_SCR_PATH).c_str(), sibling.c_str(), FALSE);
    Register("Sibling", "Sibling Saver", sibling);
    return sibling;
  }

  HWND OpenDialog() {
    EXPECT_TRUE(saver_.Start(WindowsPath(TELLARO_SCR_PATH), "/c"));
    HWND dialog = saver_.WaitForWindow(20000, 300, 200);
    if (!dialog) return nullptr;
    char caption[64] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, kCaption);
    SetForegroundWindow(dialog);
    list_ = GetDlgItem(dialog, IDC_PRODUCT_LIST);
    return dialog;
  }
  // A click on product `index` of the list, posted to the list at the item's place: what
  // is posted after it is taken after it.
  void ClickProduct(int index) {
    const RECT item = ItemRect(list_, index);
    ASSERT_GT(item.bottom, item.top) << "no rectangle for item " << index;
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ScreenToClient(list_, &centre);
    PostMessageA(list_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    PostMessageA(list_, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
  }
  LRESULT Count() const { return SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0); }
  bool Ended(DWORD milliseconds = 15000) { return saver_.WaitForExit(milliseconds); }

  std::string install_;
  ChildProcess saver_;
  HWND list_ = nullptr;
};

TEST_F(SettingsDialogTest, SiblingPageHostedAcrossProcessesAndEveryWayOfClosingKeepsThePages) {
  AddSibling();
  SetDwordValue(kTellaroKey, "AnimationSpeed", 77);
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Count(), 2) << "this product, then the sibling; its own registration is not a sibling";
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_START_RANDOM))) << "one sibling is installed";
  HWND own = WaitForPage(dialog, false);
  ASSERT_NE(own, nullptr) << "the dialog opens on its own settings page";

  // The sibling's item: its page, drawn by the sibling's own process inside the dialog.
  // Wine now and then refuses a process creation: the page then stays empty, and choosing
  // the item again (after another) starts the sibling anew, as a user would.
  HWND sibling = nullptr;
  for (int attempt = 0; attempt < 3 && !sibling; ++attempt) {
    if (attempt > 0) ClickProduct(0);
    ClickProduct(1);
    sibling = WaitForPage(dialog, true);
  }
  ASSERT_NE(sibling, nullptr) << "no page of the sibling's process";
  EXPECT_FALSE(IsWindow(own)) << "the old page went before the new one came";
  const DWORD siblingProcess = ProcessOf(sibling);
  HWND speed = GetDlgItem(sibling, IDC_ANIMATION_SPEED);
  EXPECT_EQ(SendMessageA(speed, TBM_GETPOS, 0, 0), 77) << "the own page saved on its way out";

  // Choosing the item that is shown recreates nothing: judged once the click was taken and
  // Restore Defaults, posted after it, has reached the sibling's page.
  ClickProduct(1);
  PostMessageA(GetDlgItem(dialog, IDC_RESTORE_DEFAULTS), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(speed, TBM_GETPOS, 0, 0) == 50; }))
      << "Restore Defaults reaches the sibling's page";
  EXPECT_EQ(ShownPage(dialog), sibling);

  // A change on the sibling's page is saved when it goes.
  SendMessageA(speed, TBM_SETPOS, TRUE, 33);
  ClickProduct(0);
  HWND back = WaitForPage(dialog, false);
  ASSERT_NE(back, nullptr);
  HANDLE siblingHandle = OpenProcess(SYNCHRONIZE, FALSE, siblingProcess);
  EXPECT_TRUE(!siblingHandle || WaitForSingleObject(siblingHandle, 10000) == WAIT_OBJECT_0)
      << "the sibling's program ends with its page";
  if (siblingHandle) CloseHandle(siblingHandle);
  EXPECT_EQ(DwordValue(kTellaroKey, "AnimationSpeed"), 33u);
  EXPECT_EQ(SendMessageA(GetDlgItem(back, IDC_ANIMATION_SPEED), TBM_GETPOS, 0, 0), 33);

  // The close box keeps the page's values but not "Start random".
  SendMessageA(GetDlgItem(dialog, IDC_START_RANDOM), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(back, IDC_ANIMATION_SPEED), TBM_SETPOS, TRUE, 44);
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(Ended()) << "the program ends with its dialog";
  EXPECT_EQ(DwordValue(kTellaroKey, "AnimationSpeed"), 44u);
  EXPECT_EQ(DwordValue(kCollection, "StartRandom", 0), 0u);

  // OK keeps both.
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_START_RANDOM), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageA(GetDlgItem(dialog, IDC_START_RANDOM), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(WaitForPage(dialog, false), IDC_ANIMATION_SPEED), TBM_SETPOS, TRUE, 55);
  PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(DwordValue(kCollection, "StartRandom"), 1u);
  EXPECT_EQ(DwordValue(kTellaroKey, "AnimationSpeed"), 55u);
}

TEST_F(SettingsDialogTest, WebUpdateListsTheCatalogueAfterTheInstalledOrSaysItFailedAndKeepsTheLastGoodOne) {
  ScopedTestAuthority authority;
  LoopbackHttpServer site;
  ASSERT_NE(site.Port(), 0);
  ASSERT_TRUE(site.TlsReady() && authority.Trusted()) << "runs under tls_site.py";
  SetDwordValue(kInternetSettings, "ProxyEnable", 1);
  SetStringValue(kInternetSettings, "ProxyServer", "127.0.0.1:" + std::to_string(site.Port()));
  const std::string shot = ReadFile(std::string(TELLARO_DATA_DIR) + "/phobos2.jpg");
  site.Serve("/halcyonix/update.xml", "<English><ProductsList><Count>2</Count>"
                                      "<Product1><ID>TELLARO</ID><Title>Tellaro</Title></Product1>" +
                                          NebulaProduct(2) + "</ProductsList></English>\n");
  site.Serve("/shots/nebula.jpg", shot);
  site.Serve("/icons/nebula.bmp", IconBmp());

  // No sibling, no catalogue on disk: this product alone, and "Start random" off.
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Count(), 1);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_START_RANDOM)));

  PostMessageA(GetDlgItem(dialog, IDC_WEB_UPDATE), BM_CLICK, 0, 0);
  for (int i = 0; i < 200 && Count() != 2; ++i) Sleep(50);
  ASSERT_EQ(Count(), 2) << "the catalogue's product after this one";

  // The catalogue product's page has no Preview and no Restore Defaults.
  ClickProduct(1);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(GetDlgItem(dialog, IDC_PREVIEW)); }));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_RESTORE_DEFAULTS)));
  EXPECT_EQ(ShownPage(dialog), nullptr);

  // A broken site: a new product whose screenshot is an HTML page served as found. The update
  // says it failed and the list keeps the installed products only; the cache still holds the
  // last good catalogue, which the next opening lists.
  site.Serve("/halcyonix/update.xml",
             "<English><ProductsList><Count>2</Count>" + NebulaProduct(1) +
                 "<Product2><ID>GALAXY</ID><Title>Galaxy</Title><Version>1.0</Version><Description>"
                 "<Text>Spiral arms.</Text>"
                 "<ScreenshotURL>https://www.kestrune.example/shots/galaxy.jpg</ScreenshotURL>"
                 "<IconURL>https://www.kestrune.example/icons/galaxy.bmp</IconURL></Description>"
                 "<DownloadURL>https://www.kestrune.example/get/galaxy.exe</DownloadURL></Product2>"
                 "</ProductsList></English>\n");
  site.Serve("/shots/galaxy.jpg", NotFoundPage());
  site.Serve("/icons/galaxy.bmp", IconBmp());
  const std::string failed = "Failed to update products list Online!";
  PostMessageA(GetDlgItem(dialog, IDC_WEB_UPDATE), BM_CLICK, 0, 0);
  EXPECT_EQ(AnswerBoxes(saver_, 1), std::vector<std::string>{failed});
  for (int i = 0; i < 100 && Count() != 1; ++i) Sleep(50);
  EXPECT_EQ(Count(), 1);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Ended());
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Count(), 2) << "the last good catalogue, from the cache";
  EXPECT_EQ(ReadFile(install_ + "web\\NEBULA\\screenshot.jpg"), shot);
  EXPECT_EQ(GetFileAttributesA((install_ + "web\\GALAXY").c_str()), INVALID_FILE_ATTRIBUTES);

  // A cache that can't be written ("web" is a file there), then no installation folder at
  // all: each failure's own message first, then the update's.
  const std::string blocked = install_ + "blocked\\";
  CreateDirectoryA(blocked.c_str(), nullptr);
  std::ofstream(blocked + "web") << "a file";
  SetStringValue(kTellaroKey, "InstallPath", blocked);
  PostMessageA(GetDlgItem(dialog, IDC_WEB_UPDATE), BM_CLICK, 0, 0);
  EXPECT_EQ(AnswerBoxes(saver_, 2), (std::vector<std::string>{
                                        "Can't save temporary data! \n\t\t\tPlease check free disk space or access "
                                        "rights \n\t\t\tfor program's installation path, or reinstall the program.",
                                        failed}));
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kTellaroKey.c_str(), "InstallPath");
  PostMessageA(GetDlgItem(dialog, IDC_WEB_UPDATE), BM_CLICK, 0, 0);
  EXPECT_EQ(AnswerBoxes(saver_, 2), (std::vector<std::string>{
                                        "Can't find program's installation path.\nPlease reinstall this software!",
                                        failed}));
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended());

  // Opening without an installation folder says so once, before the dialog shows.
  ASSERT_TRUE(saver_.Start(WindowsPath(TELLARO_SCR_PATH), "/c"));
  EXPECT_EQ(AnswerBoxes(saver_, 1),
            std::vector<std::string>{"Can't find program's installation path.\n\t\t\tPlease reinstall this software!"});
  dialog = saver_.WaitForWindow(20000, 300, 200);
  ASSERT_NE(dialog, nullptr);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended());
  DeleteFileA((blocked + "web").c_str());
  RemoveDirectoryA(blocked.c_str());
}

// Preview from the dialog's own page and from a sibling's page hosted in it: the real
// program on both sides. The page saves first, the run starts, a key ends it, its program
// ends, and the dialog, which never waited for the run, answers at once.
TEST_F(SettingsDialogTest, PreviewFromTheOwnPageAndFromASiblingsPageEndsOnAKeyAndTheDialogAnswers) {
  AddSibling();
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  HWND own = WaitForPage(dialog, false);
  ASSERT_NE(own, nullptr);
  const DWORD dialogProcess = ProcessOf(dialog);
  HWND speed = GetDlgItem(own, IDC_ANIMATION_SPEED);
  SendMessageA(speed, TBM_SETPOS, TRUE, 66);
  PostMessageA(GetDlgItem(dialog, IDC_PREVIEW), BM_CLICK, 0, 0);
  HWND run = WaitForRun({dialogProcess});
  ASSERT_NE(run, nullptr) << "Preview started no full-screen run";
  EXPECT_EQ(DwordValue(kTellaroKey, "AnimationSpeed"), 66u) << "the page saved before the run";
  EndRunWithAKey(run);
  PostMessageA(GetDlgItem(dialog, IDC_RESTORE_DEFAULTS), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(speed, TBM_GETPOS, 0, 0) == 50; })) << "the dialog froze";

  HWND sibling = nullptr;
  for (int attempt = 0; attempt < 3 && !sibling; ++attempt) {  // Wine now and then refuses a start
    if (attempt > 0) ClickProduct(0);
    ClickProduct(1);
    sibling = WaitForPage(dialog, true);
  }
  ASSERT_NE(sibling, nullptr) << "no page of the sibling's process";
  const DWORD siblingProcess = ProcessOf(sibling);
  HWND siblingSpeed = GetDlgItem(sibling, IDC_ANIMATION_SPEED);
  SendMessageA(siblingSpeed, TBM_SETPOS, TRUE, 22);
  PostMessageA(GetDlgItem(dialog, IDC_PREVIEW), BM_CLICK, 0, 0);
  run = WaitForRun({dialogProcess, siblingProcess});
  ASSERT_NE(run, nullptr) << "Preview on the sibling's page started no run";
  EXPECT_EQ(DwordValue(kTellaroKey, "AnimationSpeed"), 22u) << "the sibling's page saved before its run";
  EndRunWithAKey(run);
  PostMessageA(GetDlgItem(dialog, IDC_RESTORE_DEFAULTS), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(siblingSpeed, TBM_GETPOS, 0, 0) == 50; }))
      << "the dialog or the sibling's page froze";

  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended()) << "the program ends with its dialog";
  EXPECT_TRUE(ProcessEnds(sibling, 10000)) << "the sibling's program ends with its page";
}

// A sibling that places its window and then never answers: Preview and Restore Defaults
// give up on it, another page can be chosen within seconds, and neither leaving its page
// nor closing the dialog leaves it running.
TEST_F(SettingsDialogTest, ASiblingThatNeverAnswersLeavesTheDialogUsableAndIsEndedWithItsPage) {
  Register("Sibling", "Silent Saver", WindowsPath(TELLARO_UNANSWERING_SIBLING));
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(WaitForPage(dialog, false), nullptr);
  const auto siblingWindow = [&] {
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND child = FindWindowExA(dialog, nullptr, nullptr, nullptr); child && !found;
           child = FindWindowExA(dialog, child, nullptr, nullptr))
        if (HWND inside = FindWindowExA(child, nullptr, "Static", "not answering")) found = inside;
      return found != nullptr;
    });
    return found;
  };

  ClickProduct(1);
  HWND silent = siblingWindow();
  ASSERT_NE(silent, nullptr) << "the sibling placed no window in its page";
  PostMessageA(GetDlgItem(dialog, IDC_PREVIEW), BM_CLICK, 0, 0);
  PostMessageA(GetDlgItem(dialog, IDC_RESTORE_DEFAULTS), BM_CLICK, 0, 0);
  const DWORD start = GetTickCount();
  ClickProduct(0);
  EXPECT_NE(WaitForPage(dialog, false), nullptr) << "the own page did not come back";
  EXPECT_LT(GetTickCount() - start, 12000u) << "the dialog waited that long for the silent sibling";
  EXPECT_TRUE(ProcessEnds(silent, 10000)) << "the silent sibling outlived its page";

  ClickProduct(1);
  silent = siblingWindow();
  ASSERT_NE(silent, nullptr);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Ended()) << "the program ends with its dialog";
  EXPECT_TRUE(ProcessEnds(silent, 10000)) << "the silent sibling outlived the dialog";
}

// A sibling that, asked to close its page, first sends Down twice to the product list: the
// dialog takes those keys after the page switch under way, not inside it, so the page shown
// ends as the selection's, and the dialog goes on working and ends cleanly.
TEST_F(SettingsDialogTest, KeysSentByASiblingWhileItsPageClosesAreTakenAfterTheSwitch) {
  Register("Keying", "Keying Saver", WindowsPath(TELLARO_KEYING_SIBLING));
  AddSibling();
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(WaitForPage(dialog, false), nullptr);
  ASSERT_EQ(Count(), 3);

  ClickProduct(1);
  HWND keying = nullptr;
  WaitUntil([&] {
    for (HWND child = FindWindowExA(dialog, nullptr, nullptr, nullptr); child && !keying;
         child = FindWindowExA(dialog, child, nullptr, nullptr))
      keying = FindWindowExA(child, nullptr, "KeyingSiblingPage", nullptr);
    return keying != nullptr;
  });
  ASSERT_NE(keying, nullptr) << "the keying sibling placed no window in its page";
  HANDLE keyingProcess = OpenProcess(SYNCHRONIZE, FALSE, ProcessOf(keying));

  ClickProduct(0);
  HWND sibling = WaitForPage(dialog, true);
  ASSERT_NE(sibling, nullptr) << "the page of the product the keys chose is not shown";
  EXPECT_EQ(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
  if (keyingProcess) {
    EXPECT_EQ(WaitForSingleObject(keyingProcess, 10000), WAIT_OBJECT_0) << "the keying sibling outlived its page";
    CloseHandle(keyingProcess);
  }

  // Still working: the own page comes back, and the dialog ends whole.
  ClickProduct(0);
  EXPECT_NE(WaitForPage(dialog, false), nullptr);
  EXPECT_TRUE(ProcessEnds(sibling, 10000)) << "the sibling's program ends with its page";
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  EXPECT_TRUE(saver_.WaitForExit(15000, &exitCode));
  EXPECT_EQ(exitCode, 0u) << "the program ended badly";
}

}  // namespace
