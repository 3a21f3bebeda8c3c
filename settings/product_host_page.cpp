#include "settings/product_host_page.h"

#include "framework/other_process.h"
#include "settings/settings_ids.h"
#include "settings/settings_page.h"

namespace {

// A sibling whose page has closed ends at once; one that is still starting has nothing to save.
constexpr DWORD kSiblingEndMs = 3000;

}  // namespace

CProductHostPage::CProductHostPage() : fw::Dialog(IDD_PRODUCT_HOST_PAGE) {}

CProductHostPage::~CProductHostPage() { sibling_.Terminate(); }

bool CProductHostPage::Create(const RECT& rect, const std::string& program, HWND parent) {
  if (!CreateModeless(parent)) return false;
  MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  // A sibling that can't be started leaves the page empty, without a word.
  static_cast<void>(rotation::StartMember(program, rotation::PageArgument(hwnd_), &sibling_));
  return true;
}

void CProductHostPage::CloseEmbeddedPage() {
  if (closing_) return;
  closing_ = true;
  bool answered = true;
  HWND embedded = GetWindow(hwnd_, GW_CHILD);
  if (embedded) answered = fw::SendBounded(embedded, WM_CLOSE, 0, 0);
  if (!sibling_) return;
  // Saved and closed: its program ends with its page. Not answering, not ending, or never
  // having placed a page: it must not outlive this page.
  if (!embedded || !answered || !fw::WaitAnsweringSends(sibling_.Handle(), kSiblingEndMs)) sibling_.Terminate();
  sibling_.Close();
}

INT_PTR CProductHostPage::OnMessage(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case UM_RESTOREDEFAULTS:
    case UM_PREVIEW:
      if (HWND embedded = GetWindow(hwnd_, GW_CHILD); embedded && !closing_) fw::SendBounded(embedded, message, 0, 0);
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_CLOSE:
      if (closing_) return TRUE;  // the close under way destroys the window
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
