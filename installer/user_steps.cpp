#include "installer/user_steps.h"

#include <windows.h>
#include <shlobj.h>

#include "base/ascii.h"
#include "installer/current_screensaver.h"
#include "installer/link_safe_removal.h"
#include "installer/user_cache_removal.h"
#include "installer/user_keys.h"
#include "installer/wide_text.h"
#include "settings/user_registration.h"

namespace user_steps {

namespace {

std::wstring ReadText(const wchar_t* key, const wchar_t* name) {
  wchar_t text[1024] = L"";
  DWORD size = sizeof text;
  return RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS
             ? std::wstring(text)
             : std::wstring();
}

void DeleteKeyIfEmpty(const wchar_t* path) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  DWORD subkeys = 1, values = 1;
  const LSTATUS status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                          nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

// The registration's three values (written by user_registration at every start), then the
// keys that this leaves empty.
void RemoveRegistration() {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, user_keys::kList, L"" TELLARO_PRODUCT);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, user_keys::kMember, L"ExecutablePath");
  RegDeleteKeyValueW(HKEY_CURRENT_USER, user_keys::kMember, L"InstallPath");
  for (const wchar_t* key : {user_keys::kList, user_keys::kMember, user_keys::kCollection, user_keys::kCompany})
    DeleteKeyIfEmpty(key);
}

std::wstring LocalApplicationData() {
  wchar_t folder[MAX_PATH] = L"";
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))
             ? std::wstring(folder)
             : std::wstring();
}

void Unregister(const std::wstring& program) {
  (void)current_screensaver::HandBack(program);
  std::wstring folder = ReadText(user_keys::kMember, L"InstallPath");
  RemoveRegistration();
  if (!folder.empty()) {
    if (folder.back() != L'\\') folder += L'\\';
    user_cache_removal::RemoveCatalogueCache(folder);
  }
  // The parent of the folder that the registration creates for each user.
  if (const std::wstring local = LocalApplicationData(); !local.empty())
    (void)link_safe::RemoveEmptyFolder(local + L"\\" TELLARO_COMPANY);
}

}  // namespace

std::optional<Step> StepOf(const std::string& commandLineText) {
  const size_t first = commandLineText.find_first_not_of(ascii::kBlanks);
  if (first == std::string::npos) return std::nullopt;
  const size_t last = commandLineText.find_last_not_of(ascii::kBlanks);
  const std::string_view word = std::string_view(commandLineText).substr(first, last - first + 1);
  if (ascii::EqualNoCase(word, "/makecurrent")) return Step::MakeCurrent;
  if (ascii::EqualNoCase(word, "/unregister")) return Step::Unregister;
  return std::nullopt;
}

void Run(Step step) {
  const std::wstring program = WideText(user_registration::InstalledProgram());
  if (program.empty()) return;
  if (step == Step::Unregister) return Unregister(program);
  user_registration::RegisterInstalledProgramForUser();
  (void)current_screensaver::MakeCurrent(program);
}

}  // namespace user_steps
