#pragma once
// The About tab of the settings page: product, collection, version and how to reach the
// maker. Texts only; Enter and Esc do nothing here.
#include <windows.h>
#include <uxtheme.h>

#include "framework/dialog.h"
#include "settings/settings_ids.h"

class CAboutPage : public fw::Dialog {
 public:
  CAboutPage() : fw::Dialog(IDD_ABOUT_PAGE) {}

 protected:
  BOOL OnInitDialog() override {
    EnableThemeDialogTexture(hwnd_, ETDT_ENABLETAB);  // the tab's own background, as the page has
    return FALSE;
  }
  void OnOK() override {}
  void OnCancel() override {}
};
