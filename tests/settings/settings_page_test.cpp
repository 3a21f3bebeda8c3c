// The settings page and its video mode list in this process, on Wine's real controls: the
// placeholder and the built list with a driver of the test's own, the choice read back in
// each case, Restore Defaults, the About tab, and Preview's save before "/sp".
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "settings/settings_ids.h"
#include "settings/settings_page.h"
#include "tests/support/test_registry.h"
#include "tests/support/wait_until.h"

namespace {

const char kPreviewMarkerKey[] = "Software\\TellaroTests\\Preview";

// A display driver of the test's own: 1024x768 at 16 bits in four refresh rates, 8-bit
// modes, a record without size fields, and 800x600 at 32 bits.
DriverModeSource TestDriver() {
  return [](uint32_t index, DriverMode* mode) {
    static const DriverMode modes[] = {
        {0x1C0000, {640, 480, 8}},    {0x1C0000, {1024, 768, 16}}, {0x1C0000, {1024, 768, 16}},
        {0x400000, {1280, 1024, 32}}, {0x1C0000, {1024, 768, 16}}, {0x1C0000, {800, 600, 32}},
        {0x1C0000, {1024, 768, 16}},  {0x1C0000, {1024, 768, 8}},
    };
    if (index >= sizeof modes / sizeof modes[0]) return false;
    *mode = modes[index];
    return true;
  };
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

class SettingsPageTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    const RECT rect{0, 0, 600, 420};
    ASSERT_TRUE(host_.CreateEx(0, nullptr, "Page host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect, nullptr, 0));
  }
  void TearDown() override {
    ClosePage();
    host_.Destroy();
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  }

  void OpenPage() {
    page_ = std::make_unique<CSettingsPage>(VideoModeChooser(TestDriver()));
    RECT client;
    GetClientRect(host_.Handle(), &client);
    ASSERT_TRUE(page_->Create(client, host_.Handle()));
    ShowWindow(page_->Handle(), SW_SHOWNA);
    Pump();
    // For a person to look at the page: TELLARO_LOOK keeps it up for a few seconds.
    if (GetEnvironmentVariableA("TELLARO_LOOK", nullptr, 0))
      for (int i = 0; i < 100; ++i, Sleep(50)) Pump();
  }
  void ClosePage() {
    if (page_) page_->Destroy();  // saves
    page_.reset();
  }
  HWND Item(int id) const { return GetDlgItem(page_->Handle(), id); }
  std::string ListText(int index) const {
    char text[64] = "";
    SendMessageA(Item(IDC_VIDEO_MODES), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
  }
  LRESULT Modes(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(Item(IDC_VIDEO_MODES), message, wParam, lParam);
  }
  // The list gets the focus, as a click or Tab would give it.
  void FocusModes() {
    SendMessageA(page_->Handle(), WM_COMMAND, MAKEWPARAM(IDC_VIDEO_MODES, CBN_SETFOCUS),
                 reinterpret_cast<LPARAM>(Item(IDC_VIDEO_MODES)));
  }
  void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
  void StoreMode(DWORD width, DWORD height, DWORD bits, DWORD desktop) {
    SetDwordValue(kTellaroKey, "XResolution", width);
    SetDwordValue(kTellaroKey, "YResolution", height);
    SetDwordValue(kTellaroKey, "ColorDepth", bits);
    SetDwordValue(kTellaroKey, "CurrentVideomode", desktop);
  }

  fw::Window host_;
  std::unique_ptr<CSettingsPage> page_;
};

TEST_F(SettingsPageTest, VideoModesFromPlaceholderToTheBuiltListAndBackIntoTheSettings) {
  StoreMode(1024, 768, 8, 0);  // an 8-bit mode is still shown as the stored one
  OpenPage();
  ASSERT_EQ(Modes(CB_GETCOUNT), 1);
  EXPECT_EQ(ListText(0), "1024x768 (8 bits)");
  EXPECT_EQ(Modes(CB_GETITEMDATA, 0), kStoredModeItem);
  EXPECT_EQ(Modes(CB_GETCURSEL), 0);

  // First focus: the driver's modes, one item per mode, no 8-bit ones; the stored 8-bit mode
  // is not among them, so nothing stays selected.
  FocusModes();
  ASSERT_EQ(Modes(CB_GETCOUNT), 2);
  EXPECT_EQ(ListText(0), "1024x768 (16 bits)");
  EXPECT_EQ(ListText(1), "800x600 (32 bits)");
  EXPECT_EQ(Modes(CB_GETCURSEL), CB_ERR);

  // A choice survives the next focus by its text, and is what the page saves.
  Modes(CB_SETCURSEL, 1);
  FocusModes();
  EXPECT_EQ(Modes(CB_GETCURSEL), 1);
  SendMessageA(page_->Handle(), UM_RESTOREDEFAULTS, 0, 0);  // a built list keeps its choice
  EXPECT_EQ(Modes(CB_GETCOUNT), 2);
  EXPECT_EQ(Modes(CB_GETCURSEL), 1);
  ClosePage();
  EXPECT_EQ(DwordValue(kTellaroKey, "XResolution"), 800u);
  EXPECT_EQ(DwordValue(kTellaroKey, "YResolution"), 600u);
  EXPECT_EQ(DwordValue(kTellaroKey, "ColorDepth"), 32u);
  EXPECT_EQ(DwordValue(kTellaroKey, "CurrentVideomode"), 1u) << "Restore Defaults ticked the desktop box";

  // Nothing selected after a rebuild: the desktop's mode.
  StoreMode(1280, 1024, 24, 0);
  OpenPage();
  FocusModes();
  EXPECT_EQ(Modes(CB_GETCURSEL), CB_ERR);
  ClosePage();
  EXPECT_EQ(DwordValue(kTellaroKey, "CurrentVideomode"), 1u);
  EXPECT_EQ(DwordValue(kTellaroKey, "XResolution"), 1280u);

  // The list never opened, "Use desktop settings" cleared: the stored mode, now switched to.
  StoreMode(1280, 1024, 24, 1);
  OpenPage();
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_VIDEO_MODES)));
  Click(IDC_DESKTOP_MODE);
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_VIDEO_MODES)));
  ClosePage();
  EXPECT_EQ(DwordValue(kTellaroKey, "CurrentVideomode"), 0u);
  EXPECT_EQ(DwordValue(kTellaroKey, "XResolution"), 1280u);
  EXPECT_EQ(DwordValue(kTellaroKey, "YResolution"), 1024u);
  EXPECT_EQ(DwordValue(kTellaroKey, "ColorDepth"), 24u);
}

TEST_F(SettingsPageTest, RestoreDefaultsKeepsRandomSequenceAndTheAboutTabLeavesEverything) {
  SetDwordValue(kTellaroKey, "RandomCameraStart", 0);
  SetDwordValue(kTellaroKey, "AnimationSpeed", 90);
  SetDwordValue(kTellaroKey, "CamMode", 1);
  SetDwordValue(kTellaroKey, "DemoMode", 1);
  SetDwordValue(kTellaroKey, "Monitors", 1);
  OpenPage();
  EXPECT_EQ(IsDlgButtonChecked(page_->Handle(), IDC_EVERY_MONITOR), BST_CHECKED) << "loaded";
  SendMessageA(page_->Handle(), UM_RESTOREDEFAULTS, 0, 0);
  EXPECT_EQ(IsDlgButtonChecked(page_->Handle(), IDC_EVERY_MONITOR), BST_UNCHECKED);
  EXPECT_EQ(DwordValue(kTellaroKey, "Monitors"), 0u);
  EXPECT_EQ(SendMessageA(Item(IDC_ANIMATION_SPEED), TBM_GETPOS, 0, 0), 50);
  EXPECT_EQ(SendMessageA(Item(IDC_CAMERA), CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(IsDlgButtonChecked(page_->Handle(), IDC_DEMO_MODE), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(page_->Handle(), IDC_RANDOM_SEQUENCE), BST_UNCHECKED) << "Random sequence kept";
  EXPECT_EQ(DwordValue(kTellaroKey, "RandomCameraStart"), 0u);
  EXPECT_EQ(DwordValue(kTellaroKey, "AnimationSpeed"), 50u) << "the defaults are saved at once";

  // The About tab hides the page's controls; back on the first tab they are all there again.
  SendMessageA(Item(IDC_ANIMATION_SPEED), TBM_SETPOS, TRUE, 70);
  HWND tabs = Item(IDC_PAGE_TABS);
  auto select = [&](int index) {
    TabCtrl_SetCurSel(tabs, index);
    NMHDR change{tabs, IDC_PAGE_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(page_->Handle(), WM_NOTIFY, IDC_PAGE_TABS, reinterpret_cast<LPARAM>(&change));
  };
  select(1);
  EXPECT_FALSE(IsWindowVisible(Item(IDC_ANIMATION_SPEED)));
  HWND about = nullptr;
  for (HWND child = GetWindow(page_->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (child != tabs && IsWindowVisible(child)) about = child;
  ASSERT_NE(about, nullptr) << "the About page is shown";
  EXPECT_TRUE(IsWindowVisible(about));
  select(0);
  EXPECT_FALSE(IsWindow(about)) << "the About page goes with its tab";
  for (int id : {IDC_ANIMATION_SPEED, IDC_VIDEO_MODES, IDC_DESKTOP_MODE, IDC_CAMERA, IDC_RANDOM_SEQUENCE, IDC_DEMO_MODE,
                 IDC_EVERY_MONITOR})
    EXPECT_TRUE(IsWindowVisible(Item(id))) << "control " << id;
  EXPECT_EQ(SendMessageA(Item(IDC_ANIMATION_SPEED), TBM_GETPOS, 0, 0), 70);
}

TEST_F(SettingsPageTest, PreviewSavesBeforeItStartsTheFullScreenRun) {
  RegDeleteTreeA(HKEY_CURRENT_USER, kPreviewMarkerKey);
  OpenPage();
  SendMessageA(Item(IDC_ANIMATION_SPEED), TBM_SETPOS, TRUE, 12);
  Click(IDC_DEMO_MODE);
  Click(IDC_EVERY_MONITOR);
  // This program stands for the screensaver: started with "/sp" it notes what it found saved.
  EXPECT_EQ(SendMessageA(page_->Handle(), UM_PREVIEW, 0, 0), 0);
  EXPECT_TRUE(WaitUntil([] { return DwordValue(kPreviewMarkerKey, "AnimationSpeed") == 12u; }, 20000))
      << "the run saw the page's values";
  EXPECT_EQ(DwordValue(kPreviewMarkerKey, "DemoMode"), 1u);
  EXPECT_EQ(DwordValue(kPreviewMarkerKey, "Monitors"), 1u);
  RegDeleteTreeA(HKEY_CURRENT_USER, kPreviewMarkerKey);
}

}  // namespace

// Started by the page's Preview with "/sp" (the page runs in this program, so this program
// is the one it starts): note the settings the run would find, and end.
int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "/sp") {
    for (const char* name : {"DemoMode", "Monitors", "AnimationSpeed"})  // the speed last: the test waits for it
      SetDwordValue(kPreviewMarkerKey, name, DwordValue(kTellaroKey, name));
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
