// What the installer's steps leave behind, looked at from inside the prefix. installer_test.sh
// runs one group of tests after each step (--gtest_filter): Installed, Run, OtherAccount,
// Uninstall, Uninstalled. Expectations come from the environment:
//   TELLARO_EXPECT_DIR       the install folder with its final backslash, or "default"
//   TELLARO_EXPECT_CURRENT   the current screensaver: "tellaro", or the path of another one
//   TELLARO_EXPECT_ACTIVE    "ScreenSaveActive" where the installer leaves it alone
//   TELLARO_EXPECT_LAUNCHER  "kept" or "removed": randomizer.exe after the uninstall
//   TELLARO_EXPECT_OWN_FILES 1: the install folder holds files of the user's own and stays
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/file_paths.h"
#include "settings/settings.h"
#include "tests/support/screen_capture.h"
#include "tests/support/win_process.h"

namespace {

const wchar_t kCollectionKey[] = L"Software\\Kestrune\\Halcyonix";
const wchar_t kMemberKey[] = L"Software\\Kestrune\\Halcyonix\\Tellaro";
const wchar_t kListKey[] = L"Software\\Kestrune\\Halcyonix\\List";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrune Tellaro";

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = L"";
  GetEnvironmentVariableW(name, value, 1024);
  return value;
}

// The folder of the user's own that the installer offers and the programs register.
std::wstring UserFolder() {
  wchar_t local[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
  return std::wstring(local) + L"\\Kestrune\\Tellaro\\";
}

std::wstring InstallDir() {
  const std::wstring expected = Environment(L"TELLARO_EXPECT_DIR");
  return expected == L"default" ? UserFolder() : expected;
}

std::wstring SystemFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = L"";
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Utf8(const std::wstring& text) { return std::filesystem::path(text).u8string(); }

// Values below HKEY_CURRENT_USER: a string ("(none)" when missing), a number, and a key's
// number of values (-1: no key).
std::wstring String(const wchar_t* key, const wchar_t* name) {
  wchar_t text[2048] = L"";
  DWORD size = sizeof text;
  const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size);
  return status == ERROR_SUCCESS ? text : status == ERROR_FILE_NOT_FOUND ? L"(none)" : L"(not a string)";
}

DWORD Number(const wchar_t* key, const wchar_t* name) {
  DWORD number = 0xDEADBEEF, size = sizeof number;
  RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &number, &size);
  return number;
}

int ValueCount(const wchar_t* key) {
  HKEY handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return -1;
  DWORD count = 0;
  RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(handle);
  return static_cast<int>(count);
}

void WriteNumber(const wchar_t* key, const wchar_t* name, DWORD number) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &number, sizeof number), ERROR_SUCCESS);
}

void WriteString(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// The current screensaver as the environment expects it after an install or an uninstall.
void ExpectCurrentScreensaver() {
  const std::wstring current = Environment(L"TELLARO_EXPECT_CURRENT");
  EXPECT_EQ(String(kDesktopKey, L"SCRNSAVE.EXE"), current == L"tellaro" ? SystemFile(L"tellaro.scr") : current);
  EXPECT_EQ(String(kDesktopKey, L"ScreenSaveActive"), current == L"tellaro" ? L"1" : Environment(L"TELLARO_EXPECT_ACTIVE"));
}

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
  DWORD ignored = 0;
  std::vector<BYTE> block(GetFileVersionInfoSizeW(file.c_str(), &ignored));
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (block.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
      !VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
    return L"";
  return text;
}

std::string Manifest(const std::wstring& file) {
  HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return "";
  std::string text;
  if (HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    if (data) text.assign(data, SizeofResource(module, resource));
  }
  FreeLibrary(module);
  return text;
}

TEST(Installed, FilesAndRegistrationAreInPlace) {
  const std::wstring dir = InstallDir(), saver = SystemFile(L"tellaro.scr");
  for (const std::wstring& file : {saver, SystemFile(L"randomizer.exe"), dir + L"uninstall.exe"})
    EXPECT_TRUE(Exists(file)) << Utf8(file);
  EXPECT_EQ(ValueCount(kListKey), 1) << "this member alone in the collection's list";

  const std::wstring uninstaller = L"\"" + dir + L"uninstall.exe\"";
  const struct {
    const wchar_t *key, *name;
    std::wstring text;
  } strings[] = {
      {kListKey, L"Tellaro", L"Tellaro"},
      {kMemberKey, L"ExecutablePath", saver},
      {kMemberKey, L"InstallPath", dir},
      {kUninstallKey, L"DisplayName", L"Tellaro 3D Screensaver"},
      {kUninstallKey, L"Publisher", L"Kestrune"},
      {kUninstallKey, L"UninstallString", uninstaller},
      {kUninstallKey, L"QuietUninstallString", uninstaller + L" /S"},
  };
  for (const auto& value : strings) EXPECT_EQ(String(value.key, value.name), value.text) << Utf8(value.name);
  ExpectCurrentScreensaver();
}

TEST(Installed, ProgramsCarryVersionAndManifest) {
  for (const wchar_t* name : {L"tellaro.scr", L"randomizer.exe"}) {
    const std::wstring file = SystemFile(name);
    EXPECT_EQ(VersionString(file, L"CompanyName"), L"Kestrune") << Utf8(file);
    EXPECT_EQ(VersionString(file, L"ProductVersion"), L"1.0") << Utf8(file);
    const std::string manifest = Manifest(file);
    for (const char* part : {"PerMonitorV2", ">UTF-8<", "Microsoft.Windows.Common-Controls"})
      EXPECT_NE(manifest.find(part), std::string::npos) << Utf8(file) << " " << part;
  }
}

// The programs read the folder through the ANSI calls; with their manifest's code page
// those give it whole, whatever its characters.
TEST(Installed, ProgramsReadTheInstallPath) {
  EXPECT_EQ(GetACP(), 65001u);
  const std::string path = Settings::GetInstallPath();
  EXPECT_EQ(path, Utf8(InstallDir()));
  EXPECT_TRUE(fw::FileExists(path + "uninstall.exe")) << path;
}

// The visible full-screen window of the installed tellaro.scr, waiting up to 20 seconds.
HWND WaitForSaverWindow() {
  for (int i = 0; i < 400; ++i, Sleep(50)) {
    HWND found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
          RECT rect;
          GetWindowRect(hwnd, &rect);
          if (!IsWindowVisible(hwnd) || rect.right - rect.left != GetSystemMetrics(SM_CXSCREEN) ||
              rect.bottom - rect.top != GetSystemMetrics(SM_CYSCREEN))
            return TRUE;
          DWORD processId = 0;
          GetWindowThreadProcessId(hwnd, &processId);
          wchar_t image[MAX_PATH] = L"";
          DWORD size = MAX_PATH;
          if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
            QueryFullProcessImageNameW(process, 0, image, &size);
            CloseHandle(process);
          }
          if (lstrcmpiW(image, SystemFile(L"tellaro.scr").c_str()) != 0) return TRUE;
          *reinterpret_cast<HWND*>(data) = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    if (found) return found;
  }
  return nullptr;
}

// Share of the screen in the planet's rust colours (red well above blue).
double PlanetShare() {
  const ScreenPixels screen = CaptureScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  const auto planet = std::count_if(screen.pixels.begin(), screen.pixels.end(), [](uint32_t p) {
    return ScreenPixels::Red(p) > 60 && ScreenPixels::Red(p) > ScreenPixels::Blue(p) + 30;
  });
  return screen.pixels.empty() ? 0 : static_cast<double>(planet) / static_cast<double>(screen.pixels.size());
}

// The installed launcher with random mode on finds this member and runs it full screen,
// with the settings that put the lit planet in view; a key ends the run and the launcher.
// These settings are the user's for the rest of the steps.
void ExpectLauncherRunsThePlanet() {
  WriteNumber(kCollectionKey, L"StartRandom", 1);
  WriteNumber(kMemberKey, L"CamMode", 2);  // the orbit from its fixed start
  WriteNumber(kMemberKey, L"RandomCameraStart", 0);
  ChildProcess launcher;
  ASSERT_TRUE(launcher.Start(Utf8(SystemFile(L"randomizer.exe")), "/s"));
  HWND window = WaitForSaverWindow();
  ASSERT_NE(window, nullptr) << "no full-screen window of the installed tellaro.scr";
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  double share = 0;
  for (int i = 0; i < 50 && share < 0.05; ++i, Sleep(100)) share = PlanetShare();
  EXPECT_GE(share, 0.05) << "the planet is not on the screen";
  EXPECT_FALSE(launcher.WaitForExit(0)) << "the launcher waits for the run";
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 1);
  DWORD code = 1;
  EXPECT_TRUE(launcher.WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
}

TEST(Run, LauncherStartsTheInstalledScreensaver) { ExpectLauncherRunsThePlanet(); }

// Another account of the machine has no registration before its first start (the installer
// registers the account it runs as only), or one left by a program removed from elsewhere.
// The install folder here is not the account's own folder, which tells the two apart.
void ForgetRegistration() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kCollectionKey);
  ASSERT_EQ(ValueCount(kCollectionKey), -1);
}

void ExpectRegistration() {
  EXPECT_EQ(String(kListKey, L"Tellaro"), L"Tellaro");
  EXPECT_EQ(String(kMemberKey, L"ExecutablePath"), SystemFile(L"tellaro.scr"));
  EXPECT_EQ(String(kMemberKey, L"InstallPath"), UserFolder());
  EXPECT_TRUE(Exists(UserFolder())) << Utf8(UserFolder());
}

// Starts with "/a" (nothing to do but the start): a usable registration stays, a copy
// outside the system folder writes nothing, each missing or stale part is completed alone.
TEST(OtherAccount, OnlyTheInstalledProgramsCompleteARegistration) {
  wchar_t temp[MAX_PATH] = L"";
  GetTempPathW(MAX_PATH, temp);
  const std::wstring saver = SystemFile(L"tellaro.scr"), copy = std::wstring(temp) + L"tellaro.scr";
  ASSERT_TRUE(CopyFileW(saver.c_str(), copy.c_str(), FALSE));
  const struct {
    std::wstring program, executablePath, installPath;  // registration before; empty: none
    std::wstring expectedPath, expectedFolder;
  } cases[] = {
      {saver, saver, InstallDir(), saver, InstallDir()},
      {copy, L"", L"", L"(none)", L"(none)"},
      {saver, L"C:\\gone\\tellaro.scr", L"C:\\kept\\", saver, L"C:\\kept\\"},
  };
  for (const auto& start : cases) {
    ForgetRegistration();
    if (!start.executablePath.empty()) {
      WriteString(kMemberKey, L"ExecutablePath", start.executablePath);
      WriteString(kMemberKey, L"InstallPath", start.installPath);
    }
    ChildProcess program;
    ASSERT_TRUE(program.Start(Utf8(start.program), "/a"));
    ASSERT_TRUE(program.WaitForExit(15000));
    EXPECT_EQ(String(kMemberKey, L"ExecutablePath"), start.expectedPath) << Utf8(start.executablePath);
    EXPECT_EQ(String(kMemberKey, L"InstallPath"), start.expectedFolder) << Utf8(start.executablePath);
  }
  DeleteFileW(copy.c_str());
}

// No "Can't find program's installation path." nor any other box: one during the
// initialisation would come before the dialog shows, and hold it back.
TEST(OtherAccount, SettingsDialogOpensWithoutAMessage) {
  ForgetRegistration();
  ChildProcess dialog;
  ASSERT_TRUE(dialog.Start(Utf8(SystemFile(L"tellaro.scr")), "/c"));
  HWND window = dialog.WaitForWindow(20000, 400, 250);
  ASSERT_NE(window, nullptr) << (dialog.WaitForMessageBox(0) ? "a message box holds the dialog back" : "no dialog");
  EXPECT_EQ(dialog.WaitForMessageBox(0), nullptr);
  ExpectRegistration();
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(dialog.WaitForExit(15000));
}

// The installed launcher registers the account before it chooses, and runs the planet; the
// account's own settings are all there is of them afterwards.
TEST(OtherAccount, LauncherRunsThePlanetAndLeavesTheSettings) {
  ForgetRegistration();
  ExpectLauncherRunsThePlanet();
  ExpectRegistration();
  EXPECT_EQ(ValueCount(kMemberKey), 4) << "ExecutablePath, InstallPath and the two settings";
}

// Started as the system's list of programs starts it.
TEST(Uninstall, RegisteredCommandStarts) {
  std::wstring command = String(kUninstallKey, L"QuietUninstallString");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST(Uninstalled, FilesAndRegistrationAreGoneSettingsStay) {
  const std::wstring dir = InstallDir();
  EXPECT_FALSE(Exists(SystemFile(L"tellaro.scr")));
  // A folder of the user's own keeps its files; installer_test.sh compares them.
  EXPECT_EQ(Exists(dir), Environment(L"TELLARO_EXPECT_OWN_FILES") == L"1") << Utf8(dir);
  const bool launcherKept = Environment(L"TELLARO_EXPECT_LAUNCHER") == L"kept";
  EXPECT_EQ(Exists(SystemFile(L"randomizer.exe")), launcherKept);
  EXPECT_EQ(ValueCount(kListKey), launcherKept ? 1 : -1) << "the list goes with its last member";
  EXPECT_EQ(ValueCount(kUninstallKey), -1);
  for (const auto& [key, name] : {std::make_pair(kListKey, L"Tellaro"), std::make_pair(kMemberKey, L"ExecutablePath"),
                                  std::make_pair(kMemberKey, L"InstallPath")})
    EXPECT_EQ(String(key, name), L"(none)") << Utf8(name);
  ExpectCurrentScreensaver();
  // The user's settings, written by the launcher's test before the uninstall.
  EXPECT_EQ(Number(kMemberKey, L"CamMode"), 2u);
  EXPECT_EQ(Number(kCollectionKey, L"StartRandom"), 1u);
}

}  // namespace
