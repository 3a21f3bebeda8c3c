#include "installer/current_screensaver.h"

#include <windows.h>

#include <optional>

#include "settings/registry_key.h"
#include "settings/registry_names.h"

namespace current_screensaver {

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kScreenSaver[] = "SCRNSAVE.EXE";
const char kActive[] = "ScreenSaveActive";
const char kPreviousScreenSaver[] = "PreviousScreenSaver";
const char kPreviousActive[] = "PreviousScreenSaveActive";

// The user's desktop key, and this screensaver's key where the replaced choice is kept.
struct Keys {
  RegistryKey desktop, member;
  // `create`: both made if missing, for writing; else what exists (a missing key reads as
  // holding no values).
  explicit Keys(bool create) {
    const std::string memberPath = std::string(registry_names::kCollectionKey) + "\\" + registry_names::kProductKey;
    if (create) {
      desktop.Create(HKEY_CURRENT_USER, kDesktopKey);
      member.Create(HKEY_CURRENT_USER, memberPath.c_str());
    } else {
      desktop.Open(HKEY_CURRENT_USER, kDesktopKey);
      member.Open(HKEY_CURRENT_USER, memberPath.c_str());
    }
  }
};

// A text value: its text (expanded, so that it stays what it names when written back as
// plain text), nullopt when it or its key is missing; false when it exists but cannot be read
// as text.
bool Read(const RegistryKey& key, const char* name, std::optional<std::wstring>* value) {
  std::wstring text;
  const LONG status = key.IsOpen() ? key.QueryText(nullptr, name, &text) : ERROR_FILE_NOT_FOUND;
  if (status == ERROR_FILE_NOT_FOUND) {
    value->reset();
    return true;
  }
  if (status != ERROR_SUCCESS) return false;
  *value = std::move(text);
  return true;
}

bool Write(const RegistryKey& key, const char* name, const std::wstring& text) {
  return key.IsOpen() && key.SetText(nullptr, name, text);
}

bool Delete(const RegistryKey& key, const char* name) { return !key.IsOpen() || key.DeleteValue(nullptr, name); }

// An empty remembered text puts the value back to missing.
bool Restore(const RegistryKey& desktop, const char* name, const std::wstring& remembered) {
  return remembered.empty() ? Delete(desktop, name) : Write(desktop, name, remembered);
}

bool IsCurrent(const std::optional<std::wstring>& current, const std::wstring& program) {
  return current && CompareStringOrdinal(current->c_str(), -1, program.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

Result<Code> MakeCurrent(const std::wstring& program) {
  const Keys keys(true);
  std::optional<std::wstring> current, active;
  if (!Read(keys.desktop, kScreenSaver, &current) || !Read(keys.desktop, kActive, &active))
    return Result<Code>::Fail(Code::Unreadable, "the current screensaver");
  if (!IsCurrent(current, program) && (!Write(keys.member, kPreviousScreenSaver, current.value_or(L"")) ||
                                       !Write(keys.member, kPreviousActive, active.value_or(L""))))
    return Result<Code>::Fail(Code::Unwritable, "the previous screensaver");
  if (!Write(keys.desktop, kScreenSaver, program) || !Write(keys.desktop, kActive, L"1"))
    return Result<Code>::Fail(Code::Unwritable, "the current screensaver");
  return Result<Code>::Ok();
}

Result<Code> HandBack(const std::wstring& program) {
  const Keys keys(false);
  std::optional<std::wstring> current, previous, previousActive;
  if (!Read(keys.desktop, kScreenSaver, &current) || !Read(keys.member, kPreviousScreenSaver, &previous) ||
      !Read(keys.member, kPreviousActive, &previousActive))
    return Result<Code>::Fail(Code::Unreadable, "the current or the previous screensaver");
  if (IsCurrent(current, program)) {
    // Chosen by hand, Tellaro leaves no screensaver behind and "ScreenSaveActive" as it is.
    if (!Restore(keys.desktop, kScreenSaver, previous.value_or(L"")) ||
        (previousActive && !Restore(keys.desktop, kActive, *previousActive)))
      return Result<Code>::Fail(Code::Unwritable, "the current screensaver");
  }
  if (!Delete(keys.member, kPreviousScreenSaver) || !Delete(keys.member, kPreviousActive))
    return Result<Code>::Fail(Code::Unwritable, "the previous screensaver");
  return Result<Code>::Ok();
}

}  // namespace current_screensaver
