#include "settings/product_host_page.h"

#include "rotation/member_start.h"
#include "settings/settings_ids.h"
#include "settings/settings_page.h"

CProductHostPage::CProductHostPage() : fw::Dialog(IDD_PRODUCT_HOST_PAGE) {}

bool CProductHostPage::Create(const RECT& rect, const std::string& program, HWND parent) {
  if (!CreateModeless(parent)) return false;
  MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  rotation::StartMember(program, rotation::PageArgument(hwnd_), false);
  return true;
}

void CProductHostPage::CloseEmbeddedPage() {
  if (HWND embedded = GetWindow(hwnd_, GW_CHILD)) SendMessageA(embedded, WM_CLOSE, 0, 0);
}

INT_PTR CProductHostPage::OnMessage(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case UM_RESTOREDEFAULTS:
    case UM_PREVIEW:
      if (HWND embedded = GetWindow(hwnd_, GW_CHILD)) SendMessageA(embedded, message, 0, 0);
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_CLOSE:
      CloseEmbeddedPage();
      DestroyWindow(hwnd_);
      return TRUE;
    case WM_DESTROY:
      CloseEmbeddedPage();
      return FALSE;
    default:
      return FALSE;
  }
}
