#include "framework/dialog.h"

namespace fw {
namespace {
constexpr char kObjectProperty[] = "fw.Dialog";
}

Dialog::~Dialog() {
  if (hwnd_) Destroy();
}

INT_PTR Dialog::DoModal(HWND parent) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, &Dialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
  HWND created = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent,
                                    &Dialog::DialogProc, reinterpret_cast<LPARAM>(this));
  return created != nullptr;
}

void Dialog::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

BOOL Dialog::OnInitDialog() {
  DataExchange(false);
  return TRUE;
}

INT_PTR Dialog::HandleMessage(UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* dialog = static_cast<Dialog*>(GetPropA(hwnd, kObjectProperty));
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<Dialog*>(lParam);
    SetPropA(hwnd, kObjectProperty, dialog);
    dialog->hwnd_ = hwnd;
    return dialog->OnInitDialog();
  }
  if (!dialog) return FALSE;
  if (message == WM_NCDESTROY) {
    RemovePropA(hwnd, kObjectProperty);
    dialog->hwnd_ = nullptr;
    dialog->OnDestroyed();
    return FALSE;
  }
  return dialog->HandleMessage(message, wParam, lParam);
}

}  // namespace fw
