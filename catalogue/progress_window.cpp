#include "catalogue/progress_window.h"

#include <commctrl.h>

#include "catalogue/catalogue_ids.h"
#include "framework/app.h"

CProgressWindow::CProgressWindow() : fw::Dialog(IDD_WEB_PROGRESS) {}

bool CProgressWindow::Create() {
  fw::InitCommonControlsOnce();
  if (!CreateModeless(nullptr)) return false;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  return true;
}

BOOL CProgressWindow::OnInitDialog() {
  SendDlgItemMessageA(hwnd_, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
  return fw::Dialog::OnInitDialog();
}

void CProgressWindow::SetStatus(const char* text) { SetDlgItemTextA(hwnd_, IDC_PROGRESS_STATUS, text); }

void CProgressWindow::SetLocation(const char* text) { SetDlgItemTextA(hwnd_, IDC_PROGRESS_LOCATION, text); }

void CProgressWindow::SetPercent(int percent) {
  SendDlgItemMessageA(hwnd_, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
  SendDlgItemMessageA(hwnd_, IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void CProgressWindow::DispatchPending() {
  // Filtered by this window, which takes in its controls' messages too; everything else
  // (the settings dialog, timers of other windows) waits for the real message loop.
  MSG message;
  while (hwnd_ && PeekMessageA(&message, hwnd_, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageA(hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void CProgressWindow::OnCancel() {
  HWND cancel = GetDlgItem(hwnd_, IDCANCEL);
  if (cancel) EnableWindow(cancel, FALSE);
}
