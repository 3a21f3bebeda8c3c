// What the installer's steps leave behind and which processes they start, looked at from
// inside the prefix. installer_test.sh runs one group of tests per step (--gtest_filter):
// Setup, Installed, FinishPage, Run, OtherAccount, UserFolder, Uninstall, Uninstalled.
// Expectations come from the environment:
//   TELLARO_SETUP            the installer (a Windows path), TELLARO_SETUP_ARGS its arguments
//   TELLARO_EXPECT_CURRENT   "tellaro": the program made itself the user's screensaver;
//                            otherwise the path of the user's screensaver, and after an
//                            installation nothing per-user at all
//   TELLARO_EXPECT_ACTIVE    "ScreenSaveActive" where Tellaro leaves it alone
//   TELLARO_EXPECT_LAUNCHER  "kept" (another member counts it) or "removed"
//   TELLARO_EXPECT_KEPT      1: the user's folder and the uninstaller's folder hold what the
//                            uninstallation must leave; installer_test.sh compares them
//   TELLARO_EXPECT_DIR       the folder the user's registration names, with its final backslash
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/file_paths.h"
#include "settings/settings.h"
#include "tests/support/screen_capture.h"
#include "tests/support/wait_until.h"
#include "tests/support/win_process.h"

namespace {

const wchar_t kCollectionKey[] = L"Software\\Kestrune\\Halcyonix";
const wchar_t kMemberKey[] = L"Software\\Kestrune\\Halcyonix\\Tellaro";
const wchar_t kListKey[] = L"Software\\Kestrune\\Halcyonix\\List";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrune Tellaro";
const wchar_t kSharedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024] = L"";
  GetEnvironmentVariableW(name, value, 1024);
  return value;
}

bool Expects(const wchar_t* name, const wchar_t* value) { return Environment(name) == value; }

std::wstring KnownFolder(int folder) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, folder, nullptr, 0, path);
  return path;
}

// The folder the programs make for each user, and the uninstaller's fixed one.
std::wstring UserFolder() { return KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\Kestrune\\Tellaro\\"; }
std::wstring MachineFolder() { return KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Kestrune\\Tellaro"; }

std::wstring SystemFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = L"";
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Utf8(const std::wstring& text) { return std::filesystem::path(text).u8string(); }

// A string value ("(none)" when missing), a number (0xDEADBEEF when missing) and a key's
// number of values (-1: no key).
std::wstring String(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t text[2048] = L"";
  DWORD size = sizeof text;
  const LSTATUS status = RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size);
  return status == ERROR_SUCCESS ? text : status == ERROR_FILE_NOT_FOUND ? L"(none)" : L"(not a string)";
}

DWORD Number(HKEY root, const wchar_t* key, const wchar_t* name) {
  DWORD number = 0xDEADBEEF, size = sizeof number;
  RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &number, &size);
  return number;
}

int ValueCount(HKEY root, const wchar_t* key) {
  HKEY handle;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return -1;
  DWORD count = 0;
  RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(handle);
  return static_cast<int>(count);
}

std::wstring UserString(const wchar_t* key, const wchar_t* name) { return String(HKEY_CURRENT_USER, key, name); }

void WriteNumber(const wchar_t* key, const wchar_t* name, DWORD number) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &number, sizeof number), ERROR_SUCCESS);
}

void WriteString(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// The current screensaver as the environment expects it.
void ExpectCurrentScreensaver() {
  const std::wstring current = Environment(L"TELLARO_EXPECT_CURRENT");
  EXPECT_EQ(UserString(kDesktopKey, L"SCRNSAVE.EXE"), current == L"tellaro" ? SystemFile(L"tellaro.scr") : current);
  EXPECT_EQ(UserString(kDesktopKey, L"ScreenSaveActive"),
            current == L"tellaro" ? L"1" : Environment(L"TELLARO_EXPECT_ACTIVE"));
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

bool IsOurProgram(const std::wstring& image) {
  const std::wstring name = FileName(image);
  return lstrcmpiW(name.c_str(), L"tellaro.scr") == 0 || lstrcmpiW(name.c_str(), L"randomizer.exe") == 0;
}

std::wstring ImageOf(DWORD processId) {
  wchar_t image[MAX_PATH] = L"(ended)";
  DWORD size = MAX_PATH;
  if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
    QueryFullProcessImageNameW(process, 0, image, &size);
    CloseHandle(process);
  }
  return image;
}

// A command run in a job of its own: whatever it starts, and whatever that starts, joins the
// job; a program that the desktop's shell starts for it does not. The desktop is up first, so
// that its shell is no process of the job either.
class JobRun {
 public:
  JobRun() {
    job_ = CreateJobObjectW(nullptr, nullptr);
    port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job_, port_};
    SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &association, sizeof association);
  }
  ~JobRun() {
    TerminateJobObject(job_, 1);
    CloseHandle(port_);
    CloseHandle(job_);
    if (first_) CloseHandle(first_);
  }
  JobRun(const JobRun&) = delete;
  JobRun& operator=(const JobRun&) = delete;

  bool Start(std::wstring commandLine) {
    GetDesktopWindow();
    if (!WaitUntil([] { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; })) return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process))
      return false;
    const bool assigned = AssignProcessToJobObject(job_, process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    first_ = process.hProcess;
    firstId_ = process.dwProcessId;
    return assigned;
  }

  // Waits until no process of the job is left, noting each one's program as it joins.
  bool WaitForAll(DWORD milliseconds) {
    const DWORD deadline = GetTickCount() + milliseconds;
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED data = nullptr;
    for (;;) {
      const int32_t left = static_cast<int32_t>(deadline - GetTickCount());
      if (left <= 0 || !GetQueuedCompletionStatus(port_, &message, &key, &data, static_cast<DWORD>(left)))
        return false;
      if (message == JOB_OBJECT_MSG_NEW_PROCESS)
        images_.push_back(ImageOf(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data))));
      if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) return true;
    }
  }

  DWORD TotalProcesses() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, nullptr);
    return accounting.TotalProcesses;
  }
  // None of the job's processes ran tellaro.scr or randomizer.exe.
  void ExpectNoProgramOfOurs() const {
    for (const std::wstring& image : images_) EXPECT_FALSE(IsOurProgram(image)) << Utf8(image);
  }
  DWORD ExitCode() const {
    DWORD code = 0xDEADBEEF;
    GetExitCodeProcess(first_, &code);
    return code;
  }
  HANDLE Job() const { return job_; }
  DWORD FirstId() const { return firstId_; }

 private:
  HANDLE job_ = nullptr, port_ = nullptr, first_ = nullptr;
  DWORD firstId_ = 0;
  std::vector<std::wstring> images_;
};

// A silent installation starts nothing of ours itself: what it does for the user, the shell
// starts.
TEST(Setup, SilentInstallationStartsNoProgramOfOurs) {
  JobRun setup;
  ASSERT_TRUE(setup.Start(L"\"" + Environment(L"TELLARO_SETUP") + L"\" " + Environment(L"TELLARO_SETUP_ARGS")));
  ASSERT_TRUE(setup.WaitForAll(120000));
  EXPECT_EQ(setup.ExitCode(), 0u);
  EXPECT_EQ(setup.TotalProcesses(), 1u) << "the installer alone";
  setup.ExpectNoProgramOfOurs();
}

TEST(Installed, ProgramsUninstallerAndEntryAreMachineWide) {
  const std::wstring saver = SystemFile(L"tellaro.scr"), launcher = SystemFile(L"randomizer.exe");
  const std::wstring uninstaller = MachineFolder() + L"\\uninstall.exe";
  for (const std::wstring& file : {saver, launcher, uninstaller}) EXPECT_TRUE(Exists(file)) << Utf8(file);
  const std::wstring command = L"\"" + uninstaller + L"\"";
  const struct {
    const wchar_t* name;
    std::wstring text;
  } strings[] = {
      {L"DisplayName", L"Tellaro 3D Screensaver"}, {L"Publisher", L"Kestrune"},
      {L"InstallLocation", MachineFolder()},       {L"UninstallString", command},
      {L"QuietUninstallString", command + L" /S"},
  };
  for (const auto& value : strings)
    EXPECT_EQ(String(HKEY_LOCAL_MACHINE, kUninstallKey, value.name), value.text) << Utf8(value.name);
  EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, kUninstallKey), -1) << "no entry of the user's own";
  EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kSharedKey, launcher.c_str()),
            Expects(L"TELLARO_EXPECT_LAUNCHER", L"kept") ? 2u : 1u);
}

// What the programs write for a user besides the settings, which a user keeps for good.
void ExpectNoRegistration() {
  EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, kListKey), -1);
  for (const wchar_t* name : {L"ExecutablePath", L"InstallPath", L"PreviousScreenSaver", L"PreviousScreenSaveActive"})
    EXPECT_EQ(UserString(kMemberKey, name), L"(none)") << Utf8(name);
}

// Either the program made itself current for the user, registering the user as at any
// start, or nothing of the user's own exists at all.
TEST(Installed, UserStateIsTheProgramsOwn) {
  if (Expects(L"TELLARO_EXPECT_CURRENT", L"tellaro")) {
    EXPECT_EQ(UserString(kListKey, L"Tellaro"), L"Tellaro");
    EXPECT_EQ(UserString(kMemberKey, L"ExecutablePath"), SystemFile(L"tellaro.scr"));
    EXPECT_EQ(UserString(kMemberKey, L"InstallPath"), UserFolder());
  } else {
    ExpectNoRegistration();
    EXPECT_FALSE(Exists(UserFolder())) << Utf8(UserFolder());
  }
  ExpectCurrentScreensaver();
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

// A visible window of `program` (a path) at least `minWidth` wide, waiting up to 20 seconds.
HWND WaitForWindowOf(const std::wstring& program, int minWidth) {
  struct Search {
    const std::wstring* program;
    int minWidth;
    HWND found;
  } search{&program, minWidth, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
              auto* wanted = reinterpret_cast<Search*>(data);
              RECT rect;
              GetWindowRect(hwnd, &rect);
              if (!IsWindowVisible(hwnd) || rect.right - rect.left < wanted->minWidth) return TRUE;
              DWORD processId = 0;
              GetWindowThreadProcessId(hwnd, &processId);
              if (lstrcmpiW(ImageOf(processId).c_str(), wanted->program->c_str()) != 0) return TRUE;
              wanted->found = hwnd;
              return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      20000);
  return search.found;
}

std::wstring ParentImage(DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (entry.th32ProcessID == processId) parent = entry.th32ParentProcessID;
  std::wstring image = L"(none)";
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    if (entry.th32ProcessID == parent) image = entry.szExeFile;
  CloseHandle(snapshot);
  return image;
}

// The text of a button, without its access key's ampersand.
std::wstring ButtonText(HWND button) {
  wchar_t text[64] = L"";
  GetWindowTextW(button, text, 64);
  std::wstring plain(text);
  plain.erase(std::remove(plain.begin(), plain.end(), L'&'), plain.end());
  return plain;
}

// Waits until the installer's main button reads `text` and can be clicked, then clicks it.
void ClickWhenReady(HWND installer, const wchar_t* text) {
  HWND button = GetDlgItem(installer, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return ButtonText(button).rfind(text, 0) == 0 && IsWindowEnabled(button); }, 60000))
      << Utf8(text) << ": the button reads " << Utf8(ButtonText(button));
  PostMessageW(installer, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

HWND FindChildWithText(HWND parent, const wchar_t* text) {
  struct Search {
    const wchar_t* text;
    HWND found;
  } search{text, nullptr};
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* wanted = reinterpret_cast<Search*>(data);
        wchar_t caption[128] = L"";
        GetWindowTextW(hwnd, caption, 128);
        if (!IsWindowVisible(hwnd) || lstrcmpW(caption, wanted->text) != 0) return TRUE;
        wanted->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Through the pages to the finish page, whose settings open as the desktop's user: a child
// of the shell, outside the installer's job.
TEST(FinishPage, SettingsOpenAsTheDesktopsUser) {
  JobRun setup;
  ASSERT_TRUE(setup.Start(L"\"" + Environment(L"TELLARO_SETUP") + L"\""));
  HWND installer = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        installer = FindWindowW(L"#32770", L"Tellaro 1.0 Setup");
        return installer && IsWindowVisible(installer);
      },
      30000));
  ClickWhenReady(installer, L"Next");     // welcome
  ClickWhenReady(installer, L"Install");  // components
  // The installation's page goes on to the finish page by itself.
  HWND open = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (open = FindChildWithText(installer, L"Open the screensaver's settings")); },
                        60000));
  SendMessageTimeoutW(open, BM_SETCHECK, BST_CHECKED, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  ClickWhenReady(installer, L"Finish");

  HWND dialog = WaitForWindowOf(SystemFile(L"tellaro.scr"), 400);
  ASSERT_NE(dialog, nullptr) << "no settings dialog";
  DWORD dialogId = 0;
  GetWindowThreadProcessId(dialog, &dialogId);
  EXPECT_EQ(lstrcmpiW(ParentImage(dialogId).c_str(), L"explorer.exe"), 0) << Utf8(ParentImage(dialogId));
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, dialogId);
  BOOL inJob = TRUE;
  EXPECT_TRUE(IsProcessInJob(process, setup.Job(), &inJob)) << GetLastError();
  EXPECT_FALSE(inJob);
  ASSERT_TRUE(setup.WaitForAll(30000));
  EXPECT_EQ(setup.TotalProcesses(), 1u);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
  CloseHandle(process);
}

// The visible full-screen window of the installed tellaro.scr, waiting up to 20 seconds.
HWND WaitForSaverWindow() { return WaitForWindowOf(SystemFile(L"tellaro.scr"), GetSystemMetrics(SM_CXSCREEN)); }

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

// An account before its first start has no registration, or one left by a program removed
// from elsewhere.
void ForgetRegistration() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kCollectionKey);
  ASSERT_EQ(ValueCount(HKEY_CURRENT_USER, kCollectionKey), -1);
}

void ExpectRegistration() {
  EXPECT_EQ(UserString(kListKey, L"Tellaro"), L"Tellaro");
  EXPECT_EQ(UserString(kMemberKey, L"ExecutablePath"), SystemFile(L"tellaro.scr"));
  EXPECT_EQ(UserString(kMemberKey, L"InstallPath"), UserFolder());
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
      {saver, saver, L"C:\\chosen\\", saver, L"C:\\chosen\\"},
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
    EXPECT_EQ(UserString(kMemberKey, L"ExecutablePath"), start.expectedPath) << Utf8(start.executablePath);
    EXPECT_EQ(UserString(kMemberKey, L"InstallPath"), start.expectedFolder) << Utf8(start.executablePath);
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
  EXPECT_EQ(ValueCount(HKEY_CURRENT_USER, kMemberKey), 4) << "ExecutablePath, InstallPath and the two settings";
}

// The programs read the folder through the ANSI calls; with their manifest's code page
// those give it whole, whatever its characters.
TEST(UserFolder, ProgramsReadTheInstallPath) {
  EXPECT_EQ(GetACP(), 65001u);
  EXPECT_EQ(Settings::GetInstallPath(), Utf8(Environment(L"TELLARO_EXPECT_DIR")));
}

// Started as the system's list of programs starts it; the uninstaller's copy of itself is
// all that joins it, and what it does for the user, the shell starts.
TEST(Uninstall, RegisteredCommandStartsNoProgramOfOurs) {
  JobRun uninstall;
  ASSERT_TRUE(uninstall.Start(String(HKEY_LOCAL_MACHINE, kUninstallKey, L"QuietUninstallString")));
  ASSERT_TRUE(uninstall.WaitForAll(120000));
  EXPECT_EQ(uninstall.TotalProcesses(), 2u) << "the uninstaller and its copy";
  uninstall.ExpectNoProgramOfOurs();
}

TEST(Uninstalled, MachineWidePartsAreGone) {
  EXPECT_FALSE(Exists(SystemFile(L"tellaro.scr")));
  const bool launcherKept = Expects(L"TELLARO_EXPECT_LAUNCHER", L"kept");
  EXPECT_EQ(Exists(SystemFile(L"randomizer.exe")), launcherKept);
  EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kSharedKey, SystemFile(L"randomizer.exe").c_str()),
            launcherKept ? 1u : 0xDEADBEEF)
      << "the other member's count";
  EXPECT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kUninstallKey), -1);
  if (!Expects(L"TELLARO_EXPECT_KEPT", L"1")) {
    EXPECT_FALSE(Exists(MachineFolder())) << Utf8(MachineFolder());
    EXPECT_FALSE(Exists(KnownFolder(CSIDL_PROGRAM_FILES) + L"\\Kestrune"));
  }
}

// The user at the desktop gets the earlier screensaver back and loses the registration and
// the downloads; the settings stay for a later installation.
TEST(Uninstalled, UserHasTheirScreensaverBackAndKeepsTheSettings) {
  ExpectCurrentScreensaver();
  ExpectNoRegistration();
  if (!Expects(L"TELLARO_EXPECT_KEPT", L"1")) {
    EXPECT_FALSE(Exists(UserFolder())) << Utf8(UserFolder());
  }
  EXPECT_EQ(Number(HKEY_CURRENT_USER, kMemberKey, L"CamMode"), 2u);
  EXPECT_EQ(Number(HKEY_CURRENT_USER, kCollectionKey, L"StartRandom"), 1u);
}

}  // namespace
