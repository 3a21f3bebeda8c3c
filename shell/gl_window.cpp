#include "shell/gl_window.h"

#include <string>

#include "framework/app.h"
#include "framework/dialog.h"
#include "scene/gl.h"
#include "shell/resource_ids.h"

namespace {

constexpr UINT_PTR kFrameTimer = 0;

// What the user is told when a step of the rendering context's set-up fails.
const char* ContextFailureText(ContextError step) {
  switch (step) {
    case ContextError::NoPixelFormat: return "Can't Find A Suitable PixelFormat.";
    case ContextError::PixelFormatRefused: return "Can't Set The PixelFormat.";
    case ContextError::NoContext: return "Can't Create A GL Rendering Context.";
    case ContextError::NotCurrent:
    case ContextError::None: break;
  }
  return "Can't activate GLRC.";
}

std::string LoadResourceString(UINT id) {
  char text[1024] = "";
  LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return text;
}

// The scene's options as the user's settings hold them, unclamped as the registry had them.
SceneOptions SceneOptionsOf(const Settings& settings) {
  SceneOptions options;
  options.animationSpeed = settings.AnimationSpeed;
  options.cameraTour = settings.CamMode;
  options.randomStart = settings.RandomCameraStart;
  options.nightSide = settings.NightSide;
  return options;
}

}  // namespace

CGLWindow::CGLWindow(RunHost* host)
    : ownHost_(host ? nullptr : std::make_unique<Win32RunHost>()),
      host_(host ? *host : *ownHost_),
      loadingNotice_(IDD_LOADING_NOTICE) {}

CGLWindow::~CGLWindow() = default;

bool CGLWindow::Create(const RECT& rect, HWND parent) {
  return parent ? CreateEx(0, "#32770", "", WS_CHILD | WS_VISIBLE, rect, parent, 0)
                : CreateEx(WS_EX_TOPMOST, "#32770", "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
}

void CGLWindow::ShowBox(const char* text, MessageIcon icon) {
  const bool wasBusy = endRules_.Busy();
  endRules_.SetBusy(true);
  host_.ShowMessage(text, icon);
  endRules_.SetBusy(wasBusy);
}

void CGLWindow::EndWithBox(const char* text, MessageIcon icon) {
  ShowBox(text, icon);
  host_.RequestQuit();
}

LRESULT CGLWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      LRESULT result = Default(message, wParam, lParam);
      if (context_.IsCurrent()) ResizeScene(scene_, LOWORD(lParam), HIWORD(lParam));
      return result;
    }
    case WM_CREATE:
      return OnCreate(message, wParam, lParam);
    case WM_CLOSE:
      KillTimer(hwnd_, kFrameTimer);
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return Default(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      RequestClose();
      return Default(message, wParam, lParam);
    case WM_TIMER:
      if (endRules_.Busy() || displayPower_.Asleep()) return 0;
      OnTimer();
      return Default(message, wParam, lParam);
    case WM_NCACTIVATE:
      if (!wParam && endRules_.EndsOnDeactivation()) {
        RequestClose();
        return 0;
      }
      return Default(message, wParam, lParam);
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return 1;
    }
    case WM_CANCELMODE:
      if (endRules_.EndsOnDeactivation()) RequestClose();
      return Default(message, wParam, lParam);
    case WM_MOUSEMOVE:
      if (endRules_.EndsOnMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
        RequestClose();
      return settings_.DemoMode != 0 ? 0 : Default(message, wParam, lParam);
    case WM_SETCURSOR:
      if (!endRules_.HidesCursor()) return Default(message, wParam, lParam);
      SetCursor(nullptr);
      return TRUE;
    case WM_SYSCOMMAND:
      return OnSysCommand(message, wParam, lParam);
    case WM_POWERBROADCAST:
      if (displayPower_.OnPowerBroadcast(wParam, lParam)) FollowDisplayPower();
      return BROADCAST_QUERY_DENY;
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT CGLWindow::OnCreate(UINT message, WPARAM wParam, LPARAM lParam) {
  if (Default(message, wParam, lParam) == -1) return -1;
  if (ownHost_) ownHost_->SetOwner(hwnd_);

  // A failure here is reported and ends the run, but the window itself was created.
  if (const Result<ContextError> created = context_.Create(hwnd_); !created) {
    EndWithBox(ContextFailureText(created.code()), MessageIcon::Stop);
    return 0;
  }

  settings_.Load();
  endRules_.SetDemoMode(settings_.DemoMode != 0);

  RECT client;
  GetClientRect(hwnd_, &client);
  if (loadingNotice_.CreateModeless(nullptr)) {
    // Shown without activation: an activated window would make the display's window
    // manager part of its removal, which can delay the first frame by seconds.
    ShowWindow(loadingNotice_.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(loadingNotice_.Handle());
  }
  const SceneLoadResult loaded =
      InitScene(scene_, host_, SceneOptionsOf(settings_), client.right - client.left, client.bottom - client.top);
  loadingNotice_.Destroy();
  if (!loaded) {
    // The reason is for whoever debugs the program; the user reads the notice.
    const SceneLoadNotice notice = NoticeOf(loaded.code());
    OutputDebugStringA(("tellaro: " + std::string(notice.text) + " (" + loaded.reason() + ")\n").c_str());
    EndWithBox(notice.text, notice.stopIcon ? MessageIcon::Stop : MessageIcon::None);
  }

  EnterDisplayMode();

  HDC screen = GetDC(nullptr);
  const int width = GetDeviceCaps(screen, HORZRES);
  const int height = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  MoveWindow(hwnd_, 0, 0, width, height, TRUE);
  CoverOtherMonitors();
  GetClientRect(hwnd_, &client);
  ResizeScene(scene_, client.right - client.left, client.bottom - client.top);

  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
  displayPower_.Register(hwnd_);
  SetTimer(hwnd_, kFrameTimer, 0, nullptr);
  return 0;
}

void CGLWindow::CoverOtherMonitors() {
  if (settings_.Monitors == 1) otherMonitors_.Open(hwnd_, context_, scene_.options, host_.TickCount());
  else blackout_.Cover(hwnd_);
}

void CGLWindow::FollowDisplayPower() {
  if (displayPower_.Asleep()) KillTimer(hwnd_, kFrameTimer);
  else SetTimer(hwnd_, kFrameTimer, 0, nullptr);
}

void CGLWindow::EnterDisplayMode() {
  switch (displayMode_.Enter(settings_)) {
    case DisplayModeSwitch::Outcome::AlreadyDesktop:
      settings_.CurrentVideomode = 1;  // for this run only: nothing is saved
      break;
    case DisplayModeSwitch::Outcome::Refused:
      // Stay on the desktop's mode, now and in later runs.
      settings_.XResolution = GetSystemMetrics(SM_CXFULLSCREEN);
      settings_.YResolution = GetSystemMetrics(SM_CYFULLSCREEN);
      settings_.CurrentVideomode = 1;
      settings_.Save();
      break;
    case DisplayModeSwitch::Outcome::DesktopWanted:
    case DisplayModeSwitch::Outcome::Switched:
      break;
  }
}

void CGLWindow::OnTimer() {
  if (slowFrames_.WarningDue(frameCounter_, host_.TickCount())) {
    KillTimer(hwnd_, kFrameTimer);
    ShowBox(LoadResourceString(IDS_SLOW_MACHINE).c_str(), MessageIcon::None);
    SetTimer(hwnd_, kFrameTimer, 0, nullptr);
  }
  ++frameCounter_;
  if (!context_.IsCurrent()) return;
  const double seconds = host_.FrameSeconds();
  otherMonitors_.DrawFrames(scene_, context_, seconds);  // first: only the main window waits for a refresh
  DrawFrame(scene_, seconds);
  context_.Swap();
}

LRESULT CGLWindow::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam) {
  const WPARAM command = wParam & 0xFFF0;
  if (command == SC_SCREENSAVE || command == SC_CLOSE) return 0;
  // Windows 95/98/Me would power the monitor down under a running screensaver.
  if (command == SC_MONITORPOWER && (GetVersion() & 0x80000000u) != 0) return 0;
  // The display goes to sleep as the system asks; the run rests with it.
  if (command == SC_MONITORPOWER && displayPower_.OnMonitorPower(lParam)) FollowDisplayPower();
  return Default(message, wParam, lParam);
}

void CGLWindow::OnDestroy() {
  displayPower_.Unregister();
  blackout_.Remove();
  otherMonitors_.Close();
  displayMode_.Leave();
  if (context_.IsCurrent()) ReleaseSceneGLObjects(scene_);  // while their context is current
  context_.Release();
  ReleaseSceneBuffers(scene_);

  HDC screen = GetDC(nullptr);
  const RECT screenRect{0, 0, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
  InvalidateRect(nullptr, &screenRect, TRUE);
  ReleaseDC(nullptr, screen);
}

void CGLWindow::PostNcDestroy() {
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
  fw::Window::PostNcDestroy();  // the application, the object's owner, frees it
}
