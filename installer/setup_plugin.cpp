// The installer's own plugin (TellaroSetup.dll): the steps that its script language cannot
// take safely. The installer calls them as "TellaroSetup::Name argument..." and pops one word
// or reason afterwards. The arguments arrive on the installer's string stack, first argument
// on top; each entry is a GlobalAlloc'ed block of a link and `stringSize` characters.
#include <windows.h>

#include <algorithm>
#include <string>

#include "installer/desktop_user_start.h"
#include "installer/link_safe_removal.h"

namespace {

struct StackEntry {
  StackEntry* next;
  wchar_t text[1];
};

std::wstring Pop(StackEntry** top) {
  StackEntry* entry = top ? *top : nullptr;
  if (!entry) return std::wstring();
  std::wstring text(entry->text);
  *top = entry->next;
  GlobalFree(entry);
  return text;
}

void Push(StackEntry** top, int stringSize, const std::string& text) {
  if (!top || stringSize <= 0) return;
  auto* entry = static_cast<StackEntry*>(
      GlobalAlloc(GPTR, sizeof(StackEntry) + static_cast<size_t>(stringSize) * sizeof(wchar_t)));
  if (!entry) return;
  const size_t length = std::min(text.size(), static_cast<size_t>(stringSize) - 1);
  for (size_t i = 0; i < length; ++i) entry->text[i] = static_cast<unsigned char>(text[i]);
  entry->text[length] = L'\0';
  entry->next = *top;
  *top = entry;
}

template <typename Code>
std::string Outcome(const Result<Code>& result) {
  return result ? "ok" : result.reason();
}

void Remove(Result<link_safe::Code> (*remove)(const std::wstring&), int stringSize, StackEntry** top) {
  const Result<link_safe::Code> result = remove(Pop(top));
  Push(top, stringSize, link_safe::CodeWord(result.code()));
}

}  // namespace

#define TELLARO_PLUGIN_FUNCTION(name) \
  extern "C" __declspec(dllexport) void name(HWND, int stringSize, wchar_t*, StackEntry** top, void*)

// Arguments: a command line, and how many milliseconds to wait for the program's end (0: not
// at all). Pops "ok" when it started (and, if waited for, ended in time), else the reason.
TELLARO_PLUGIN_FUNCTION(StartAsDesktopUser) {
  const std::wstring commandLine = Pop(top);
  const DWORD waitMs = static_cast<DWORD>(_wtoi(Pop(top).c_str()));
  HANDLE process = nullptr;
  const Result<desktop_user::Code> started = desktop_user::Start(commandLine, &process);
  std::string outcome = Outcome(started);
  if (started && waitMs > 0 && WaitForSingleObject(process, waitMs) != WAIT_OBJECT_0) outcome = "no end in time";
  if (process) CloseHandle(process);
  Push(top, stringSize, outcome);
}

// Argument: a path. Pops one of link_safe::CodeWord's words.
TELLARO_PLUGIN_FUNCTION(RemoveFile) { Remove(link_safe::RemoveFile, stringSize, top); }
TELLARO_PLUGIN_FUNCTION(RemoveEmptyFolder) { Remove(link_safe::RemoveEmptyFolder, stringSize, top); }
