#include "settings/settings_page.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <string>
#include <utility>

#include "base/value_range.h"
#include "rotation/member_start.h"
#include "scene/scene_options.h"
#include "settings/settings_ids.h"

namespace {

// A check box shows three states (unchecked, checked, indeterminate); a stored switch of any
// other value shows unchecked.
constexpr ValueRange kCheckStates{BST_UNCHECKED, BST_INDETERMINATE};
int CheckState(int32_t value) { return kCheckStates.Holds(value) ? value : BST_UNCHECKED; }

// Every child of the page but the tab control (and, while it exists, the About page).
void ShowPageControls(HWND page, HWND tabs, int show) {
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (child != tabs) ShowWindow(child, show);
}

}  // namespace

CSettingsPage::CSettingsPage(VideoModeChooser chooser) : fw::Dialog(IDD_SETTINGS_PAGE), chooser_(std::move(chooser)) {
  BindCommand(IDC_DESKTOP_MODE, BN_CLICKED, [this] {
    EnableWindow(Item(IDC_VIDEO_MODES), IsDlgButtonChecked(hwnd_, IDC_DESKTOP_MODE) != BST_CHECKED);
  });
  BindCommand(IDC_VIDEO_MODES, CBN_SETFOCUS, [this] { chooser_.RefreshOnFocus(); });
  BindCommand(IDC_VIDEO_MODES, CBN_DROPDOWN, [this] { chooser_.RefreshOnDropDown(); });
  BindNotify(IDC_PAGE_TABS, TCN_SELCHANGE, [this](NMHDR&) -> LRESULT {
    ShowTab(TabCtrl_GetCurSel(Item(IDC_PAGE_TABS)));
    return 0;
  });
}

bool CSettingsPage::Create(const RECT& rect, HWND parent) {
  if (!CreateModeless(parent)) return false;
  MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  return true;
}

BOOL CSettingsPage::OnInitDialog() {
  HWND tabs = Item(IDC_PAGE_TABS);
  TCITEMA tab{};
  tab.mask = TCIF_TEXT;
  char first[] = "&Tellaro", second[] = "&About";
  tab.pszText = first;
  TabCtrl_InsertItem(tabs, 0, &tab);
  tab.pszText = second;
  TabCtrl_InsertItem(tabs, 1, &tab);
  // With visual styles the page takes the tab's own background, as property pages do.
  EnableThemeDialogTexture(hwnd_, ETDT_ENABLETAB);
  SendMessageA(Item(IDC_ANIMATION_SPEED), TBM_SETRANGE, FALSE,
               MAKELPARAM(kAnimationSpeedRange.low, kAnimationSpeedRange.high));
  chooser_.Attach(Item(IDC_VIDEO_MODES));
  chooser_.Clear();
  SettingsIntoControls();
  return FALSE;  // the focus stays where it is: the page may live in another program's window
}

void CSettingsPage::SettingsIntoControls() {
  settings_.Load();
  chooser_.ShowStored(settings_);
  CheckDlgButton(hwnd_, IDC_DESKTOP_MODE, static_cast<UINT>(CheckState(settings_.CurrentVideomode)));
  CheckDlgButton(hwnd_, IDC_RANDOM_SEQUENCE, static_cast<UINT>(CheckState(settings_.RandomCameraStart)));
  CheckDlgButton(hwnd_, IDC_DEMO_MODE, static_cast<UINT>(CheckState(settings_.DemoMode)));
  CheckDlgButton(hwnd_, IDC_EVERY_MONITOR, static_cast<UINT>(CheckState(settings_.Monitors)));
  SendMessageA(Item(IDC_ANIMATION_SPEED), TBM_SETPOS, TRUE, settings_.AnimationSpeed);
  SendMessageA(Item(IDC_CAMERA), CB_SETCURSEL, static_cast<WPARAM>(settings_.CamMode), 0);
}

void CSettingsPage::ControlsIntoSettings() {
  settings_.CurrentVideomode = IsDlgButtonChecked(hwnd_, IDC_DESKTOP_MODE) == BST_CHECKED ? 1 : 0;
  settings_.RandomCameraStart = IsDlgButtonChecked(hwnd_, IDC_RANDOM_SEQUENCE) == BST_CHECKED ? 1 : 0;
  settings_.DemoMode = IsDlgButtonChecked(hwnd_, IDC_DEMO_MODE) == BST_CHECKED ? 1 : 0;
  settings_.Monitors = IsDlgButtonChecked(hwnd_, IDC_EVERY_MONITOR) == BST_CHECKED ? 1 : 0;
  settings_.AnimationSpeed = static_cast<int32_t>(SendMessageA(Item(IDC_ANIMATION_SPEED), TBM_GETPOS, 0, 0));
  settings_.CamMode = static_cast<int32_t>(SendMessageA(Item(IDC_CAMERA), CB_GETCURSEL, 0, 0));
  chooser_.ReadChoice(settings_);
  settings_.Save();
}

void CSettingsPage::RestoreDefaults() {
  Settings defaults;
  defaults.RestoreDefaults();
  SettingsIntoControls();
}

void CSettingsPage::Preview() {
  ControlsIntoSettings();
  char path[MAX_PATH + 1] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  // The run is started and left to itself: the dialog stays open and answering, as the
  // run's own tear-down (display mode, desktop, screensaver flag) needs of every window. A
  // run that can't start shows nothing.
  static_cast<void>(rotation::StartMember(path, "/sp"));
}

void CSettingsPage::ShowTab(int index) {
  HWND tabs = Item(IDC_PAGE_TABS);
  if (index == 1) {
    ShowPageControls(hwnd_, tabs, SW_HIDE);
    if (about_) about_->Destroy();
    about_ = std::make_unique<CAboutPage>();
    if (!about_->CreateModeless(hwnd_)) return;
    RECT area;
    GetClientRect(tabs, &area);
    TabCtrl_AdjustRect(tabs, FALSE, &area);
    MapWindowPoints(tabs, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    SetWindowPos(about_->Handle(), HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_SHOWWINDOW);
  } else if (index == 0) {
    ShowPageControls(hwnd_, tabs, SW_SHOW);
    if (about_) about_->Destroy();
    about_.reset();
  }
}

INT_PTR CSettingsPage::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case UM_RESTOREDEFAULTS:
    case UM_PREVIEW:
      if (message == UM_RESTOREDEFAULTS) RestoreDefaults();
      else Preview();
      SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 0);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return TRUE;
    case WM_SIZE:  // the tabs cover the whole page, whatever rectangle the host gives it
      MoveWindow(Item(IDC_PAGE_TABS), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return FALSE;
    case WM_DESTROY:
      ControlsIntoSettings();  // every way out of the page keeps what is on it
      return FALSE;
    default:
      return FALSE;
  }
}
