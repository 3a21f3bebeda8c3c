// The rendering window in this process, on Wine's real windowing and OpenGL: input rules,
// system commands, power broadcasts, the slow-machine warning and what the window makes of
// the display-mode switch's outcome.
#include "shell/gl_window.h"

#include <gtest/gtest.h>

#include <cstring>

#include <memory>

#include <functional>
#include <string>

#include "settings/registry_names.h"
#include "tests/scene/scene_data.h"
#include "tests/support/fake_run_host.h"
#include "tests/support/test_registry.h"

namespace {

// The run's settings, stored where the program reads them.
void SetDword(const char* name, DWORD value) { EXPECT_TRUE(SetDwordValue(kTellaroKey, name, value)) << name; }

// Records the window's state at the moment a message box would be up.
class ObservingHost : public FakeRunHost {
 public:
  void ShowMessage(const char* text, MessageIcon icon) override {
    FakeRunHost::ShowMessage(text, icon);
    if (whileShown) whileShown();
  }
  bool OpenArchive(ResourcePak& pak) override {
    if (whileLoading) whileLoading();
    return FakeRunHost::OpenArchive(pak);
  }
  std::function<void()> whileShown;
  std::function<void()> whileLoading;
};

// The loading notice of this process: a visible window showing "Loading screensaver...".
HWND FindLoadingNotice() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        char text[64] = "";
        HWND label = GetWindow(hwnd, GW_CHILD);
        if (label) GetWindowTextA(label, text, sizeof text);
        if (IsWindowVisible(hwnd) && std::string(text) == "Loading screensaver...") {
          reinterpret_cast<Search*>(lParam)->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class GlWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
    SetDword("RandomCameraStart", 0);
  }
  void TearDown() override {
    Close();
    ChangeDisplaySettingsA(nullptr, 0);
    RegDeleteTreeA(HKEY_CURRENT_USER, registry_names::kCollectionKey);
  }

  void Create() {
    host_.scene.archive = scene_data::Zip(scene_data::DataMembers());  // the scene loads the shipped data
    window_ = std::make_unique<CGLWindow>(&host_);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ASSERT_TRUE(window_->Create(screen, nullptr));
    hwnd_ = window_->Handle();
    Pump();
    closes_ = 0;
  }

  // Runs the window's pending messages; a posted WM_CLOSE is counted, not carried out.
  void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_CLOSE && message.hwnd == hwnd_) {
        ++closes_;
        continue;
      }
      if (message.message == WM_TIMER) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  bool CloseRequested() {
    Pump();
    const bool requested = closes_ > 0;
    closes_ = 0;
    return requested;
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(hwnd_, message, wParam, lParam);
  }
  void MoveMouse(int x, int y) { Send(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  // The reference is the first position the window saw, which may be the real pointer's.
  POINT Reference() {
    POINT point;
    GetCursorPos(&point);
    MoveMouse(point.x, point.y);
    return point;
  }

  ObservingHost host_;
  // The window ends before the object.
  void Close() {
    if (window_) window_->Destroy();
    window_.reset();
  }

  std::unique_ptr<CGLWindow> window_;
  HWND hwnd_ = nullptr;
  int closes_ = 0;
};

TEST_F(GlWindowTest, IsATopMostPopupCoveringTheScreen) {
  Create();
  EXPECT_TRUE(GetWindowLongA(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongA(hwnd_, GWL_STYLE) & WS_POPUP);
  RECT rect;
  GetWindowRect(hwnd_, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_TRUE(host_.messages.empty()) << host_.messages[0].text;
  EXPECT_EQ(host_.quitRequests, 0);

  // The scene's GL objects go with the window, while their context is still current.
  EXPECT_NE(window_->scene().sun.name(), 0u);
  window_->Destroy();
  EXPECT_EQ(window_->scene().sun.name(), 0u) << "the scene's lists outlived the window";
  EXPECT_EQ(window_->scene().flares.pictures[0].texture.name(), 0u);
}

TEST_F(GlWindowTest, LoadingNoticeIsUpWhileTheSceneLoadsAndGoneAfter) {
  HWND notice = nullptr;
  bool noticeActive = true;
  RECT rect{};
  host_.whileLoading = [&] {
    notice = FindLoadingNotice();
    noticeActive = notice && GetActiveWindow() == notice;
    if (notice) GetWindowRect(notice, &rect);
  };
  Create();
  ASSERT_NE(notice, nullptr) << "no visible loading notice while the scene loads";
  EXPECT_FALSE(noticeActive) << "the notice must not take activation";
  const int centreX = (rect.left + rect.right) / 2, centreY = (rect.top + rect.bottom) / 2;
  EXPECT_NEAR(centreX, GetSystemMetrics(SM_CXSCREEN) / 2, 2) << "centred on the screen";
  EXPECT_NEAR(centreY, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  EXPECT_FALSE(IsWindow(notice)) << "the notice is destroyed once the scene has loaded";
}

// The tolerance's bounds are MouseMoveRule's (frame_rules_test); here, that the window keeps to it.
TEST_F(GlWindowTest, SmallMouseMovesAreToleratedLargeOnesEndTheRun) {
  Create();
  const POINT start = Reference();
  MoveMouse(start.x + 5, start.y - 5);
  EXPECT_FALSE(CloseRequested());
  MoveMouse(start.x + 100, start.y);
  EXPECT_TRUE(CloseRequested());
}

TEST_F(GlWindowTest, KeysButtonsActivationLossAndCancelModeEndTheRun) {
  Create();
  for (UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_CANCELMODE}) {
    Send(message, message == WM_KEYDOWN ? VK_SHIFT : 0);
    EXPECT_TRUE(CloseRequested()) << "message 0x" << std::hex << message;
  }
  EXPECT_EQ(Send(WM_NCACTIVATE, FALSE), 0);
  EXPECT_TRUE(CloseRequested()) << "losing activation";
  Send(WM_NCACTIVATE, TRUE);
  EXPECT_FALSE(CloseRequested()) << "gaining activation";
  Send(WM_KEYUP, 'A');
  Send(WM_SYSKEYDOWN, VK_MENU);
  EXPECT_FALSE(CloseRequested()) << "key releases and system keys do not end the run";
}

TEST_F(GlWindowTest, HidesTheCursor) {
  Create();
  EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
  EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(GlWindowTest, DemoModeIgnoresMouseActivationAndCancelModeButNotKeysOrButtons) {
  SetDword("DemoMode", 1);
  Create();
  MoveMouse(0, 0);
  MoveMouse(500, 500);
  Send(WM_NCACTIVATE, FALSE);
  Send(WM_CANCELMODE);
  EXPECT_FALSE(CloseRequested());
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), nullptr) << "demo mode keeps the cursor";
  Send(WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(CloseRequested());
  Send(WM_LBUTTONDOWN);
  EXPECT_TRUE(CloseRequested());
}

TEST_F(GlWindowTest, AltF4AndScreensaveCommandsDoNothing) {
  Create();
  Send(WM_SYSCOMMAND, SC_CLOSE);
  Send(WM_SYSCOMMAND, SC_SCREENSAVE);
  Send(WM_SYSCOMMAND, SC_SCREENSAVE | 0x3);  // the low four bits do not matter
  Send(WM_SYSKEYDOWN, VK_F4, 1 << 29);        // Alt+F4
  EXPECT_FALSE(CloseRequested());
  EXPECT_TRUE(IsWindow(hwnd_));
}

TEST_F(GlWindowTest, EveryPowerBroadcastIsDenied) {
  Create();
  for (WPARAM event : std::initializer_list<WPARAM>{PBT_APMQUERYSUSPEND, PBT_APMQUERYSTANDBY, PBT_APMSUSPEND, PBT_APMRESUMESUSPEND,
                       PBT_APMPOWERSTATUSCHANGE, static_cast<WPARAM>(0x1234)})
    EXPECT_EQ(Send(WM_POWERBROADCAST, event), BROADCAST_QUERY_DENY) << "event " << event;
}

// The display-state notification: off stops the frames and the scene clock, on lets them go
// on; neither ends the run. The notification is the system's: GUID_CONSOLE_DISPLAY_STATE.
TEST_F(GlWindowTest, DisplayStateNotificationStopsAndStartsTheFrames) {
  Create();
  const auto tell = [&](DWORD state) {
    struct {
      POWERBROADCAST_SETTING setting;
      DWORD rest;
    } note{};
    note.setting.PowerSetting = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    note.setting.DataLength = sizeof(DWORD);
    std::memcpy(note.setting.Data, &state, sizeof state);
    return Send(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&note));
  };
  Send(WM_TIMER, 0);
  const int frames = window_->frameCounter();
  const double clock = window_->scene().sceneTime;
  tell(0);
  EXPECT_TRUE(window_->displayAsleep());
  Send(WM_TIMER, 0);
  EXPECT_EQ(window_->frameCounter(), frames) << "a frame with the display off";
  EXPECT_EQ(window_->scene().sceneTime, clock) << "the clock went on with the display off";
  tell(2);  // dimmed: still seen
  EXPECT_FALSE(window_->displayAsleep());
  Send(WM_TIMER, 0);
  EXPECT_EQ(window_->frameCounter(), frames + 1);
  EXPECT_GT(window_->scene().sceneTime, clock);
  EXPECT_FALSE(CloseRequested()) << "the display's state is not input";
}

TEST_F(GlWindowTest, SlowFramesWarnOnceWithDrawingSuspended) {
  Create();
  int framesWhileShown = -1;
  bool busyWhileShown = false;
  host_.whileShown = [&] {
    busyWhileShown = window_->busy();
    const int before = window_->frameCounter();
    Send(WM_TIMER, 0);
    framesWhileShown = window_->frameCounter() - before;
    MoveMouse(0, 0);
    MoveMouse(900, 700);
    Send(WM_NCACTIVATE, FALSE);
    Send(WM_CANCELMODE);
  };
  for (int frame = 0; frame < 30; ++frame) {
    host_.scene.tickCount = 1000u + static_cast<uint32_t>(frame) * 400u;
    Send(WM_TIMER, 0);
  }
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text.rfind("The screensaver seems to run very slow...\nTo run it smoother", 0), 0u);
  EXPECT_NE(host_.messages[0].text.find("\n videomode to lower resolution & color-depth in screensaver settings "
                                        "dialog."),
            std::string::npos);
  EXPECT_TRUE(busyWhileShown);
  EXPECT_EQ(framesWhileShown, 0) << "no frame is drawn while the box is up";
  EXPECT_FALSE(window_->busy());
  EXPECT_FALSE(CloseRequested()) << "input while the box is up does not end the run";
  EXPECT_EQ(window_->frameCounter(), 30);
}

TEST_F(GlWindowTest, FastFramesNeverWarn) {
  Create();
  for (int frame = 0; frame < 30; ++frame) {
    host_.scene.tickCount = 5000u + static_cast<uint32_t>(frame) * 300u;  // exactly 3000 ms for frames 6..15
    Send(WM_TIMER, 0);
  }
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(GlWindowTest, SavedModeEqualToTheDesktopMakesNoSwitch) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  SetDword("CurrentVideomode", 0);
  SetDword("XResolution", static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)));
  SetDword("YResolution", static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN)));
  SetDword("ColorDepth", static_cast<DWORD>(bits));
  Create();
  EXPECT_EQ(window_->settings().CurrentVideomode, 1);
  EXPECT_EQ(DwordValue(kTellaroKey, "CurrentVideomode"), 0u) << "nothing is saved when no switch was needed";
}

// Which mode is chosen is frame_rules_test's; the display here accepts only its own, which
// zero size and depth choose.
TEST_F(GlWindowTest, AnAcceptedSwitchLeavesTheSettingsAsSaved) {
  SetDword("CurrentVideomode", 0);
  SetDword("XResolution", 0);
  SetDword("YResolution", 768);
  SetDword("ColorDepth", 0);
  Create();
  EXPECT_EQ(window_->settings().CurrentVideomode, 0) << "the desktop's own mode is accepted";
  EXPECT_EQ(DwordValue(kTellaroKey, "CurrentVideomode"), 0u);
}

TEST_F(GlWindowTest, RefusedSwitchFallsBackAndRemembersTheDesktopMode) {
  SetDword("CurrentVideomode", 0);
  SetDword("XResolution", 1234);
  SetDword("YResolution", 567);
  SetDword("ColorDepth", 16);
  Create();
  EXPECT_EQ(window_->settings().CurrentVideomode, 1);
  EXPECT_EQ(DwordValue(kTellaroKey, "CurrentVideomode"), 1u);
  EXPECT_EQ(DwordValue(kTellaroKey, "XResolution"), static_cast<DWORD>(GetSystemMetrics(SM_CXFULLSCREEN)));
  EXPECT_EQ(DwordValue(kTellaroKey, "YResolution"), static_cast<DWORD>(GetSystemMetrics(SM_CYFULLSCREEN)));
  EXPECT_TRUE(host_.messages.empty()) << "the fall-back is silent";
}

}  // namespace
