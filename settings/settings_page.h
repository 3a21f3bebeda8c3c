#pragma once
// This screensaver's settings page (template 133): video mode, animation speed, camera
// tour, random start, demo mode and the monitors it draws on, with an About tab. It has no Cancel: the settings are
// written whenever the page window is destroyed, before a preview, and by Restore Defaults.
// It lives inside the settings dialog, or alone inside a window of another process.
#include <windows.h>

#include <memory>

#include "framework/dialog.h"
#include "settings/about_page.h"
#include "settings/settings.h"
#include "settings/video_mode_chooser.h"

// Sent by the settings dialog to its current page (wParam and lParam 0, answered with 0).
constexpr UINT UM_RESTOREDEFAULTS = WM_USER + 3;
constexpr UINT UM_PREVIEW = WM_USER + 4;

class CSettingsPage : public fw::Dialog {
 public:
  explicit CSettingsPage(VideoModeChooser chooser = VideoModeChooser());

  // Created hidden as a child of `parent`, placed on `rect` (parent's client coordinates);
  // the owner shows it without activating it.
  bool Create(const RECT& rect, HWND parent);

  const Settings& settings() const { return settings_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}      // Enter and Esc belong to the dialog around the page
  void OnCancel() override {}
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void SettingsIntoControls();
  void ControlsIntoSettings();
  void RestoreDefaults();
  void Preview();
  void ShowTab(int index);
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  Settings settings_;
  VideoModeChooser chooser_;
  std::unique_ptr<CAboutPage> about_;
};
