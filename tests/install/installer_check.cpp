// What the installer's steps leave behind, looked at from inside the prefix. installer_test.sh
// runs one group of tests after each step (--gtest_filter): Installed, Run, Uninstall,
// Uninstalled. Expectations come from the environment:
//   TELLARO_EXPECT_DIR       the install folder with its final backslash, or "default"
//   TELLARO_EXPECT_CURRENT   1: Tellaro is the current screensaver, 0: the installer left it alone
//   TELLARO_EXPECT_LAUNCHER  "kept" or "removed": randomizer.exe after the uninstall
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings.h"
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

std::wstring InstallDir() {
  const std::wstring expected = Environment(L"TELLARO_EXPECT_DIR");
  if (expected != L"default") return expected;
  wchar_t local[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
  return std::wstring(local) + L"\\Kestrune\\Tellaro\\";
}

std::wstring SystemFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = L"";
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], size, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(size - 1));
  return utf8;
}

// A value as the registry holds it: its type and text (or number); found is false when absent.
struct Value {
  bool found = false;
  DWORD type = REG_NONE;
  std::wstring text;
  DWORD number = 0;
};

Value Read(const wchar_t* key, const wchar_t* name) {
  Value value;
  HKEY handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return value;
  BYTE data[4096] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  if (RegQueryValueExW(handle, name, nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
    value.found = true;
    if (value.type == REG_DWORD) value.number = *reinterpret_cast<DWORD*>(data);
    if (value.type == REG_SZ) value.text = reinterpret_cast<wchar_t*>(data);
  }
  RegCloseKey(handle);
  return value;
}

bool KeyExists(const wchar_t* key) {
  HKEY handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

std::vector<std::wstring> ValueNames(const wchar_t* key) {
  std::vector<std::wstring> names;
  HKEY handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD length = 256;
    if (RegEnumValueW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  RegCloseKey(handle);
  return names;
}

void WriteDword(const wchar_t* key, const wchar_t* name, DWORD number) {
  HKEY handle;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(handle);
}

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return L"";
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return L"";
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text) return L"";
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
  const std::wstring dir = InstallDir();
  const std::wstring saver = SystemFile(L"tellaro.scr");
  EXPECT_TRUE(Exists(saver));
  EXPECT_TRUE(Exists(SystemFile(L"randomizer.exe")));
  EXPECT_TRUE(Exists(dir + L"uninstall.exe"));

  EXPECT_EQ(ValueNames(kListKey), std::vector<std::wstring>{L"Tellaro"});
  const Value title = Read(kListKey, L"Tellaro");
  EXPECT_EQ(title.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(title.text, L"Tellaro");
  const Value executable = Read(kMemberKey, L"ExecutablePath");
  EXPECT_EQ(executable.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(executable.text, saver);
  const Value installPath = Read(kMemberKey, L"InstallPath");
  EXPECT_EQ(installPath.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(installPath.text, dir);

  if (Environment(L"TELLARO_EXPECT_CURRENT") == L"1") {
    EXPECT_EQ(Read(kDesktopKey, L"SCRNSAVE.EXE").text, saver);
    EXPECT_EQ(Read(kDesktopKey, L"ScreenSaveActive").text, L"1");
  } else {
    EXPECT_FALSE(Read(kDesktopKey, L"SCRNSAVE.EXE").found);
  }

  EXPECT_EQ(Read(kUninstallKey, L"DisplayName").text, L"Tellaro 3D Screensaver");
  EXPECT_EQ(Read(kUninstallKey, L"Publisher").text, L"Kestrune");
  EXPECT_EQ(Read(kUninstallKey, L"UninstallString").text, L"\"" + dir + L"uninstall.exe\"");
  EXPECT_EQ(Read(kUninstallKey, L"QuietUninstallString").text, L"\"" + dir + L"uninstall.exe\" /S");
}

TEST(Installed, ProgramsCarryVersionAndManifest) {
  for (const wchar_t* name : {L"tellaro.scr", L"randomizer.exe"}) {
    const std::wstring file = SystemFile(name);
    EXPECT_EQ(VersionString(file, L"CompanyName"), L"Kestrune") << Utf8(file);
    EXPECT_EQ(VersionString(file, L"ProductVersion"), L"1.0") << Utf8(file);
    const std::string manifest = Manifest(file);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos) << Utf8(file);
    EXPECT_NE(manifest.find(">UTF-8<"), std::string::npos) << Utf8(file);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos) << Utf8(file);
  }
}

// The programs read the folder through the ANSI calls; with their manifest's code page
// those give it whole, whatever its characters.
TEST(Installed, ProgramsReadTheInstallPath) {
  EXPECT_EQ(GetACP(), 65001u);
  const std::string path = Settings::GetInstallPath();
  EXPECT_EQ(path, Utf8(InstallDir()));
  EXPECT_TRUE(Settings::FileExists(path + "uninstall.exe")) << path;
}

struct SaverWindow {
  HWND found = nullptr;
};

BOOL CALLBACK FindSaverWindow(HWND hwnd, LPARAM data) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  if (!IsWindowVisible(hwnd) || rect.right - rect.left != GetSystemMetrics(SM_CXSCREEN) ||
      rect.bottom - rect.top != GetSystemMetrics(SM_CYSCREEN))
    return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(hwnd, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  wchar_t image[MAX_PATH] = L"";
  DWORD size = MAX_PATH;
  if (process) {
    QueryFullProcessImageNameW(process, 0, image, &size);
    CloseHandle(process);
  }
  if (lstrcmpiW(image, SystemFile(L"tellaro.scr").c_str()) != 0) return TRUE;
  reinterpret_cast<SaverWindow*>(data)->found = hwnd;
  return FALSE;
}

HWND WaitForSaverWindow() {
  for (int i = 0; i < 400; ++i) {
    SaverWindow search;
    EnumWindows(&FindSaverWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(50);
  }
  return nullptr;
}

// Share of the screen in the planet's rust colours (red well above blue), read back from the display.
double PlanetShare() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  const BYTE* pixel = static_cast<const BYTE*>(bits);
  long planet = 0;
  for (long i = 0; i < static_cast<long>(width) * height; ++i, pixel += 4)
    if (pixel[2] > 60 && pixel[2] > pixel[0] + 30) ++planet;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return static_cast<double>(planet) / (static_cast<double>(width) * height);
}

// The installed launcher with random mode on finds this member and runs it full screen.
TEST(Run, LauncherStartsTheInstalledScreensaver) {
  WriteDword(kCollectionKey, L"StartRandom", 1);
  WriteDword(kMemberKey, L"CamMode", 2);  // the orbit from its fixed start: the lit planet in view
  WriteDword(kMemberKey, L"RandomCameraStart", 0);
  ChildProcess launcher;
  ASSERT_TRUE(launcher.Start(Utf8(SystemFile(L"randomizer.exe")), "/s"));
  HWND window = WaitForSaverWindow();
  ASSERT_NE(window, nullptr) << "no full-screen window of the installed tellaro.scr";
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  double share = 0;
  for (int i = 0; i < 50 && share < 0.05; ++i) {
    Sleep(100);
    share = PlanetShare();
  }
  EXPECT_GE(share, 0.05) << "the planet is not on the screen";
  EXPECT_FALSE(launcher.WaitForExit(0)) << "the launcher waits for the run";
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 1);
  DWORD code = 1;
  EXPECT_TRUE(launcher.WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
}

// Started as the system's list of programs starts it.
TEST(Uninstall, RegisteredCommandStarts) {
  std::wstring command = Read(kUninstallKey, L"QuietUninstallString").text;
  ASSERT_FALSE(command.empty());
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
  EXPECT_FALSE(Exists(dir)) << Utf8(dir);
  const bool launcherKept = Environment(L"TELLARO_EXPECT_LAUNCHER") == L"kept";
  EXPECT_EQ(Exists(SystemFile(L"randomizer.exe")), launcherKept);
  EXPECT_FALSE(Read(kListKey, L"Tellaro").found);
  EXPECT_EQ(KeyExists(kListKey), launcherKept) << "the list goes with its last member";
  EXPECT_FALSE(Read(kMemberKey, L"ExecutablePath").found);
  EXPECT_FALSE(Read(kMemberKey, L"InstallPath").found);
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_FALSE(Read(kDesktopKey, L"SCRNSAVE.EXE").found);
  // The user's settings, written by the run before the first uninstall.
  EXPECT_EQ(Read(kMemberKey, L"CamMode").number, 2u);
  EXPECT_EQ(Read(kCollectionKey, L"StartRandom").number, 1u);
}

}  // namespace
