#include "installer/current_screensaver.h"

#include <windows.h>

#include <optional>

#include "installer/user_keys.h"

namespace current_screensaver {

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kScreenSaver[] = L"SCRNSAVE.EXE";
const wchar_t kActive[] = L"ScreenSaveActive";
const wchar_t kPreviousScreenSaver[] = L"PreviousScreenSaver";
const wchar_t kPreviousActive[] = L"PreviousScreenSaveActive";

// A text value below HKEY_CURRENT_USER: its text (expanded, so that it stays what it names
// when written back as plain text), nullopt when it is missing; false when it exists but
// cannot be read as text.
bool Read(const wchar_t* key, const wchar_t* name, std::optional<std::wstring>* value) {
  // Plain text, or expandable text expanded (RRF_RT_REG_SZ takes both when not told otherwise).
  const DWORD flags = RRF_RT_REG_SZ;
  std::wstring text(MAX_PATH, L'\0');
  LSTATUS status = ERROR_MORE_DATA;
  // The expansion's length is known only once it was tried.
  for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    status = RegGetValueW(HKEY_CURRENT_USER, key, name, flags, nullptr, text.data(), &size);
    if (status == ERROR_MORE_DATA) text.resize(size / sizeof(wchar_t) + MAX_PATH);
  }
  if (status == ERROR_FILE_NOT_FOUND) {
    value->reset();
    return true;
  }
  if (status != ERROR_SUCCESS) return false;
  text.resize(wcsnlen(text.c_str(), text.size()));
  *value = std::move(text);
  return true;
}

bool Write(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Delete(const wchar_t* key, const wchar_t* name) {
  const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// An empty remembered text puts the value back to missing.
bool Restore(const wchar_t* name, const std::wstring& remembered) {
  return remembered.empty() ? Delete(kDesktopKey, name) : Write(kDesktopKey, name, remembered);
}

bool IsCurrent(const std::optional<std::wstring>& current, const std::wstring& program) {
  return current && CompareStringOrdinal(current->c_str(), -1, program.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

Result<Code> MakeCurrent(const std::wstring& program) {
  std::optional<std::wstring> current, active;
  if (!Read(kDesktopKey, kScreenSaver, &current) || !Read(kDesktopKey, kActive, &active))
    return Result<Code>::Fail(Code::Unreadable, "the current screensaver");
  if (!IsCurrent(current, program) && (!Write(user_keys::kMember, kPreviousScreenSaver, current.value_or(L"")) ||
                                       !Write(user_keys::kMember, kPreviousActive, active.value_or(L""))))
    return Result<Code>::Fail(Code::Unwritable, "the previous screensaver");
  if (!Write(kDesktopKey, kScreenSaver, program) || !Write(kDesktopKey, kActive, L"1"))
    return Result<Code>::Fail(Code::Unwritable, "the current screensaver");
  return Result<Code>::Ok();
}

Result<Code> HandBack(const std::wstring& program) {
  std::optional<std::wstring> current, previous, previousActive;
  if (!Read(kDesktopKey, kScreenSaver, &current) || !Read(user_keys::kMember, kPreviousScreenSaver, &previous) ||
      !Read(user_keys::kMember, kPreviousActive, &previousActive))
    return Result<Code>::Fail(Code::Unreadable, "the current or the previous screensaver");
  if (IsCurrent(current, program)) {
    // Chosen by hand, Tellaro leaves no screensaver behind and "ScreenSaveActive" as it is.
    if (!Restore(kScreenSaver, previous.value_or(L"")) || (previousActive && !Restore(kActive, *previousActive)))
      return Result<Code>::Fail(Code::Unwritable, "the current screensaver");
  }
  if (!Delete(user_keys::kMember, kPreviousScreenSaver) || !Delete(user_keys::kMember, kPreviousActive))
    return Result<Code>::Fail(Code::Unwritable, "the previous screensaver");
  return Result<Code>::Ok();
}

}  // namespace current_screensaver
