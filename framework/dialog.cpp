#include "framework/dialog.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace fw {
namespace {

// Modeless dialogs of this thread, for keyboard navigation in the message loop.
thread_local std::vector<HWND> modelessDialogs;

void ForgetModeless(HWND hwnd) {
  modelessDialogs.erase(std::remove(modelessDialogs.begin(), modelessDialogs.end(), hwnd), modelessDialogs.end());
}

}  // namespace

bool IsModelessDialog(HWND hwnd) {
  return std::find(modelessDialogs.begin(), modelessDialogs.end(), hwnd) != modelessDialogs.end();
}

bool RouteDialogMessage(MSG* message) {
  if (modelessDialogs.empty() || !message->hwnd) return false;
  // The outermost one: Tab in a page inside a modeless dialog moves through both.
  HWND outermost = nullptr;
  const HWND desktop = GetDesktopWindow();
  for (HWND hwnd = message->hwnd; hwnd && hwnd != desktop; hwnd = GetAncestor(hwnd, GA_PARENT)) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != GetCurrentProcessId()) break;  // a host window of another program
    if (IsModelessDialog(hwnd)) outermost = hwnd;
  }
  return outermost && IsDialogMessageA(outermost, message);
}

Dialog::Dialog(int templateId) : templateId_(templateId) { subclass_ = false; }

Dialog::~Dialog() {
  // A dialog freed too early must not stay in the loop's list (the base reports the fault).
  if (hwnd_) ForgetModeless(hwnd_);
}

INT_PTR Dialog::DoModal(HWND parent) {
  modal_ = true;
  INT_PTR result;
  {
    CreationScope scope(this);
    result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, &Dialog::DialogProc,
                             0);
  }
  modal_ = false;
  return result;
}

bool Dialog::CreateModeless(HWND parent) {
  modal_ = false;
  HWND created;
  {
    CreationScope scope(this);
    created = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                                 &Dialog::DialogProc, 0);
  }
  if (created) modelessDialogs.push_back(created);
  return created != nullptr;
}

void Dialog::End(INT_PTR result) {
  if (!hwnd_) return;
  if (modal_) EndDialog(hwnd_, result);
  else DestroyWindow(hwnd_);
}

void Dialog::BindCommand(int id, int code, CommandHandler handler) {
  commands_.push_back({id, code, std::move(handler)});
}

void Dialog::BindNotify(int id, UINT code, NotifyHandler handler) {
  notifications_.push_back({id, code, std::move(handler)});
}

BOOL Dialog::OnInitDialog() {
  DataExchange(false);
  return TRUE;
}

void Dialog::OnOK() {
  DataExchange(true);
  End(IDOK);
}

void Dialog::OnCancel() { End(IDCANCEL); }

INT_PTR Dialog::OnMessage(UINT, WPARAM, LPARAM) { return FALSE; }

bool Dialog::RouteCommand(int id, int code) {
  for (const CommandEntry& entry : commands_) {
    if (entry.id == id && entry.code == code) {
      entry.handler();
      return true;
    }
  }
  return false;
}

bool Dialog::RouteNotify(NMHDR& header) {
  for (const NotifyEntry& entry : notifications_) {
    if (entry.id == static_cast<int>(header.idFrom) && entry.code == header.code) {
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, entry.handler(header));
      return true;
    }
  }
  return false;
}

// The template's initial list entries (resource type 240, named like the template): records
// of control id, message (0x0403 adds a combo-box string, 0x0401 a list-box string), length
// and text, ended by a zero id.
void Dialog::ApplyInitialData() {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(240));
  if (!found) return;
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  DWORD left = SizeofResource(module, found);
  if (!data) return;
  while (left >= 8) {
    WORD id, code;
    DWORD length;
    std::memcpy(&id, data, 2);
    std::memcpy(&code, data + 2, 2);
    std::memcpy(&length, data + 4, 4);
    if (id == 0 || length > left - 8) break;
    const char* chars = reinterpret_cast<const char*>(data + 8);
    const std::string text(chars, strnlen(chars, length));
    if (code == 0x0403) SendDlgItemMessageA(hwnd_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    else if (code == 0x0401) SendDlgItemMessageA(hwnd_, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    data += 8 + length;
    left -= 8 + length;
  }
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      ApplyInitialData();
      return OnInitDialog();
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (RouteCommand(id, code)) return TRUE;
      // Buttons send BN_CLICKED (0); Enter and Esc through an accelerator send 1.
      if (code == BN_CLICKED || code == 1) {
        if (id == IDOK) {
          OnOK();
          return TRUE;
        }
        if (id == IDCANCEL) {
          OnCancel();
          return TRUE;
        }
      }
      break;
    }
    case WM_NOTIFY:
      if (lParam && RouteNotify(*reinterpret_cast<NMHDR*>(lParam))) return TRUE;
      break;
    default:
      break;
  }
  return OnMessage(message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Only dialogs are created with this procedure, so the attached object is one.
  Dialog* dialog = static_cast<Dialog*>(Window::FromHandle(hwnd));
  if (!dialog) return FALSE;
  INT_PTR result = FALSE;
  try {
    result = message == WM_NCDESTROY ? dialog->OnMessage(message, wParam, lParam)
                                     : dialog->Dispatch(message, wParam, lParam);
  } catch (...) {
    NoteEscapedException();
  }
  if (message == WM_NCDESTROY) {
    ForgetModeless(hwnd);
    dialog->Finish();
  }
  return result;
}

}  // namespace fw
