#pragma once
// The About tab of the settings page: product, collection, version and how to reach the
// maker. Texts only; Enter and Esc do nothing here.
#include "framework/dialog.h"
#include "settings/settings_ids.h"

class CAboutPage : public fw::Dialog {
 public:
  CAboutPage() : fw::Dialog(IDD_ABOUT_PAGE) {}

 protected:
  void OnOK() override {}
  void OnCancel() override {}
};
