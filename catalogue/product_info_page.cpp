#include "catalogue/product_info_page.h"

#include <shellapi.h>

#include <array>

#include "catalogue/catalogue_ids.h"
#include "catalogue/embossed_label.h"
#include "catalogue/page_text.h"
#include "catalogue/screenshot_bitmap.h"
#include "catalogue/web_address.h"

CProductInfoPage::CProductInfoPage() : fw::Dialog(IDD_PRODUCT_INFO) {
  BindCommand(IDC_DOWNLOAD_NOW, BN_CLICKED, [this] { OnDownloadNow(); });
}

bool CProductInfoPage::Create(const RECT& rect, HWND parent, const std::string& title, const std::string& description,
                              const std::string& downloadUrl, const std::string& screenshotPath) {
  title_ = title;
  description_ = description;
  downloadUrl_ = downloadUrl;
  screenshotPath_ = screenshotPath;
  if (!CreateModeless(parent)) return false;
  MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
  return true;
}

BOOL CProductInfoPage::OnInitDialog() {
  MakeEmbossedLabel(GetDlgItem(hwnd_, IDC_PRODUCT_TITLE));
  SetDlgItemTextA(hwnd_, IDC_PRODUCT_TITLE, title_.c_str());
  const std::array<std::string, 3> lines = SplitDescription(description_);
  SetDlgItemTextA(hwnd_, IDC_DESCRIPTION1, lines[0].c_str());
  SetDlgItemTextA(hwnd_, IDC_DESCRIPTION2, lines[1].c_str());
  SetDlgItemTextA(hwnd_, IDC_DESCRIPTION3, lines[2].c_str());
  ShowScreenshot();
  return fw::Dialog::OnInitDialog();
}

void CProductInfoPage::ShowScreenshot() {
  HWND picture = GetDlgItem(hwnd_, IDC_SCREENSHOT);
  if (!picture) return;
  RECT area;
  GetClientRect(picture, &area);
  screenshot_ = LoadScreenshotBitmap(screenshotPath_, area.right, area.bottom);
  if (!screenshot_) return;
  SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(screenshot_));
}

INT_PTR CProductInfoPage::OnMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_DESTROY && screenshot_) {
    SendDlgItemMessageA(hwnd_, IDC_SCREENSHOT, STM_SETIMAGE, IMAGE_BITMAP, 0);
    DeleteObject(screenshot_);
    screenshot_ = nullptr;
  }
  return FALSE;
}

void CProductInfoPage::OnDownloadNow() {
  // The catalogue comes from the network: only an https address made of the characters an
  // address may hold goes to the shell, never a program, a file, a network path or anything
  // else that "open" would start or a browser would read as more than one address.
  if (!IsSecureWebAddress(downloadUrl_)) return;
  ShellExecuteA(hwnd_, "open", downloadUrl_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
