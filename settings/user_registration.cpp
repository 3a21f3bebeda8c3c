#include "settings/user_registration.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "framework/file_paths.h"
#include "settings/collection_registry.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"

namespace user_registration {

namespace {

// Below the user's local application data, where the installer's default folder lies too.
constexpr char kUserFolder[] = "Kestrune\\Tellaro";

// The long form of a folder, so that a short name of the same folder compares equal.
std::string LongForm(const std::string& folder) {
  char longForm[MAX_PATH];
  const DWORD length = GetLongPathNameA(folder.c_str(), longForm, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(longForm, length) : folder;
}

std::string RunningProgram() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string SystemFolder() {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

std::string LocalApplicationData() {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return std::string();
  return folder;
}

// What an installed program registers for the user who starts it.
struct Registration {
  std::string executablePath;  // the installed tellaro.scr
  std::string installPath;     // a folder of the user's own, with its final backslash
};

// The registration the running program stands for, if it is an installed one.
std::optional<Registration> InstalledRegistration() {
  Registration registration{InstalledProgram(), std::string()};
  if (registration.executablePath.empty()) return std::nullopt;
  const std::string local = LocalApplicationData();
  if (local.empty()) return std::nullopt;
  registration.installPath = local + "\\" + kUserFolder + "\\";
  return registration;
}

// Each value the readers would take as absent (collection_registry.h) is written; a usable
// one stays.
void CompleteRegistration(const Registration& registration) {
  RegistryKey collection;
  if (!collection.Create(HKEY_CURRENT_USER, registry_names::kCollectionKey)) return;
  using namespace collection_registry;
  if (ReadListTitle(collection, registry_names::kProductKey).empty())
    WriteListTitle(collection, registry_names::kProductKey, kMemberTitle);
  if (!fw::FileExists(ReadExecutablePath(collection, registry_names::kProductKey)))
    WriteExecutablePath(collection, registry_names::kProductKey, registration.executablePath);
  if (ReadInstallPath(collection).empty()) {
    // The catalogue's cache creates what it misses below the folder; the folder itself is
    // made here so that the user has it from the start.
    SHCreateDirectoryExA(nullptr, fw::FolderOf(registration.installPath).c_str(), nullptr);
    WriteInstallPath(collection, registration.installPath);
  }
}

}  // namespace

std::string InstalledProgram() {
  const std::string program = RunningProgram(), system = SystemFolder();
  if (program.empty() || system.empty()) return std::string();
  if (lstrcmpiA(LongForm(fw::FolderOf(program)).c_str(), LongForm(system).c_str()) != 0) return std::string();
  // randomizer.exe stays while other members need it: without tellaro.scr there is nothing
  // to register.
  const std::string installed = system + "\\" + kInstalledProgram;
  return fw::FileExists(installed) ? installed : std::string();
}

void RegisterInstalledProgramForUser() {
  if (const std::optional<Registration> registration = InstalledRegistration()) CompleteRegistration(*registration);
}

}  // namespace user_registration
