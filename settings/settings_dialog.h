#pragma once
// The settings dialog (template 102): the collection's products on the left, this one first,
// one page at a time on the right, and the buttons below. Its own product shows the settings
// page, an installed sibling its own page through CProductHostPage, a catalogue product its
// description through CProductInfoPage. Every page saves itself when it goes, whichever way
// the dialog closes; "Start random" is written by OK only.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/dialog.h"
#include "settings/one_at_a_time.h"
#include "settings/product_list.h"

class CSettingsDlg : public fw::Dialog {
 public:
  static constexpr int kOwnPage = -1;
  static constexpr int kNoPage = -2;  // no page shown: the next switch always takes place

  explicit CSettingsDlg(int initialPage = kOwnPage);

  int CurrentPage() const { return currentPage_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void BuildProductList(bool download);
  void FillList();
  int AddMemberIcon(const std::string& program);
  void SelectPage(int code);
  void SwitchPage(int code);
  void EndPage();
  void WebUpdate();
  void SaveAndEnd();
  LRESULT OnListChanged(NMHDR& header);
  bool PaintMinimized();
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  OneAtATime operations_;  // page switches, Web Update and closing, one at a time
  int initialPage_;
  int currentPage_ = kNoPage;
  std::unique_ptr<fw::Dialog> page_;
  std::vector<ProductEntry> products_;
  int installedCount_ = 0;
  int startRandom_ = 0;
  HIMAGELIST images_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
};
