#pragma once
// The page the settings dialog shows for a catalogue product that is not installed
// (template 141): the title embossed, up to three description lines, the screenshot and a
// download button. Owned like every fw::Window: the dialog destroys the page, then frees it.
#include <windows.h>

#include <string>

#include "framework/dialog.h"

class CProductInfoPage : public fw::Dialog {
 public:
  CProductInfoPage();

  // Creates the page as a child of `parent` on `rect` (parent's client coordinates), hidden
  // until the caller shows it. `screenshotPath` is the cached JPEG; a missing or broken one
  // leaves the picture empty. False when the page can't be created.
  bool Create(const RECT& rect, HWND parent, const std::string& title, const std::string& description,
              const std::string& downloadUrl, const std::string& screenshotPath);

 protected:
  BOOL OnInitDialog() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A page inside the dialog has no buttons of its own for Enter and Esc.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  void OnDownloadNow();
  void ShowScreenshot();

  std::string title_;
  std::string description_;
  std::string downloadUrl_;
  std::string screenshotPath_;
  HBITMAP screenshot_ = nullptr;  // the picture control's image; deleted with the window
};
