#include "installer/user_steps.h"

#include <windows.h>
#include <shlobj.h>

#include "base/ascii.h"
#include "installer/current_screensaver.h"
#include "installer/link_safe_removal.h"
#include "installer/user_cache_removal.h"
#include "installer/wide_text.h"
#include "settings/collection_registry.h"
#include "settings/registry_key.h"
#include "settings/registry_names.h"
#include "settings/user_registration.h"

namespace user_steps {

namespace {

std::wstring LocalApplicationData() {
  wchar_t folder[MAX_PATH] = L"";
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))
             ? std::wstring(folder)
             : std::wstring();
}

void Unregister(const std::wstring& program) {
  (void)current_screensaver::HandBack(program);
  RegistryKey collection;
  std::wstring folder;
  if (collection.Open(HKEY_CURRENT_USER, registry_names::kCollectionKey))
    folder = collection_registry::ReadInstallFolder(collection);
  collection.Close();
  collection_registry::RemoveRegistration();
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
