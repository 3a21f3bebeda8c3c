#include "shell/gl_window.h"

#include "framework/app.h"
#include "framework/dialog.h"
#include "scene/gl.h"
#include "shell/resource_ids.h"
#include "shell/video_mode.h"

namespace {

constexpr UINT_PTR kFrameTimer = 0;

PIXELFORMATDESCRIPTOR RequestedPixelFormat() {
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 16;
  format.cDepthBits = 16;
  format.iLayerType = 1;
  return format;
}

std::string LoadResourceString(UINT id) {
  char text[1024] = "";
  LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return text;
}

}  // namespace

// The scene reports its loading failures through the host; they go through ShowBox too.
class CGLWindow::BoxGuardHost : public SceneHost {
 public:
  explicit BoxGuardHost(CGLWindow& window) : window_(window) {}
  bool OpenArchive(ResourcePak& pak) override { return window_.host_->OpenArchive(pak); }
  // After the first failure the run is ending: a later box would be closed by the pending
  // quit request before anyone could read it, so only the first one is shown.
  void ShowMessage(const char* text, MessageIcon icon) override {
    if (!quitRequested_) window_.ShowBox(text, icon);
  }
  void RequestQuit() override {
    quitRequested_ = true;
    window_.host_->RequestQuit();
  }
  uint32_t TickCount() override { return window_.host_->TickCount(); }

 private:
  CGLWindow& window_;
  bool quitRequested_ = false;
};

CGLWindow::CGLWindow()
    : ownHost_(std::make_unique<Win32SceneHost>()),
      host_(ownHost_.get()),
      guardedHost_(std::make_unique<BoxGuardHost>(*this)),
      loadingNotice_(IDD_LOADING_NOTICE) {}

CGLWindow::CGLWindow(SceneHost* host)
    : host_(host), guardedHost_(std::make_unique<BoxGuardHost>(*this)), loadingNotice_(IDD_LOADING_NOTICE) {}

CGLWindow::~CGLWindow() = default;

bool CGLWindow::Create(const RECT& rect, HWND parent) {
  return parent ? CreateEx(0, "#32770", "", WS_CHILD | WS_VISIBLE, rect, parent, 0)
                : CreateEx(WS_EX_TOPMOST, "#32770", "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
}

void CGLWindow::ShowBox(const char* text, MessageIcon icon) {
  const bool wasBusy = busy_;
  busy_ = true;
  // The top-most loading notice would cover the box.
  if (loadingNotice_.Handle()) ShowWindow(loadingNotice_.Handle(), SW_HIDE);
  host_->ShowMessage(text, icon);
  busy_ = wasBusy;
}

LRESULT CGLWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      LRESULT result = Default(message, wParam, lParam);
      if (renderingContext_) ResizeScene(scene_, LOWORD(lParam), HIWORD(lParam));
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
      RequestClose();
      return Default(message, wParam, lParam);
    case WM_TIMER:
      if (busy_) return 0;
      OnTimer();
      return Default(message, wParam, lParam);
    case WM_NCACTIVATE:
      if (!wParam && !ExitRulesSuspended()) {
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
      if (!ExitRulesSuspended()) RequestClose();
      return Default(message, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(message, wParam, lParam);
    case WM_SETCURSOR:
      if (ExitRulesSuspended()) return Default(message, wParam, lParam);
      SetCursor(nullptr);
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
      RequestClose();
      return Default(message, wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(message, wParam, lParam);
    case WM_POWERBROADCAST:
      return BROADCAST_QUERY_DENY;
    default:
      return Default(message, wParam, lParam);
  }
}

LRESULT CGLWindow::OnCreate(UINT message, WPARAM wParam, LPARAM lParam) {
  if (Default(message, wParam, lParam) == -1) return -1;
  if (ownHost_) ownHost_->SetOwner(hwnd_);

  deviceContext_ = GetDC(hwnd_);
  // A failure here is reported and ends the run, but the window itself was created.
  if (!CreateRenderingContext()) return 0;

  settings_.Load();

  RECT client;
  GetClientRect(hwnd_, &client);
  if (loadingNotice_.CreateModeless(nullptr)) {
    // Shown without activation: an activated window would make the display's window
    // manager part of its removal, which can delay the first frame by seconds.
    ShowWindow(loadingNotice_.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(loadingNotice_.Handle());
  }
  InitScene(scene_, *guardedHost_, settings_, client.right - client.left, client.bottom - client.top);
  loadingNotice_.Destroy();

  SwitchDisplayMode();

  HDC screen = GetDC(nullptr);
  const int width = GetDeviceCaps(screen, HORZRES);
  const int height = GetDeviceCaps(screen, VERTRES);
  ReleaseDC(nullptr, screen);
  MoveWindow(hwnd_, 0, 0, width, height, TRUE);
  blackout_.Cover(hwnd_);
  GetClientRect(hwnd_, &client);
  ResizeScene(scene_, client.right - client.left, client.bottom - client.top);

  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
  SetTimer(hwnd_, kFrameTimer, 0, nullptr);
  return 0;
}

bool CGLWindow::CreateRenderingContext() {
  const PIXELFORMATDESCRIPTOR format = RequestedPixelFormat();
  const char* failure = nullptr;
  if ((pixelFormat_ = ChoosePixelFormat(deviceContext_, &format)) == 0)
    failure = "Can't Find A Suitable PixelFormat.";
  else if (!SetPixelFormat(deviceContext_, pixelFormat_, &format))
    failure = "Can't Set The PixelFormat.";
  else if ((renderingContext_ = wglCreateContext(deviceContext_)) == nullptr)
    failure = "Can't Create A GL Rendering Context.";
  else if (!wglMakeCurrent(deviceContext_, renderingContext_))
    failure = "Can't activate GLRC.";
  if (!failure) return true;
  ShowBox(failure, MessageIcon::Stop);
  host_->RequestQuit();
  return false;
}

void CGLWindow::SwitchDisplayMode() {
  HDC screen = GetDC(nullptr);
  const VideoMode desktop{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                            GetDeviceCaps(screen, BITSPIXEL)};
  ReleaseDC(nullptr, screen);

  VideoMode wanted;
  if (!ChooseDisplayMode(settings_, desktop, &wanted)) return;

  DEVMODEA mode{};
  mode.dmSize = 148;  // the classic DEVMODE without the later display fields
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  mode.dmPelsWidth = static_cast<DWORD>(wanted.width);
  mode.dmPelsHeight = static_cast<DWORD>(wanted.height);
  mode.dmBitsPerPel = static_cast<DWORD>(wanted.bitsPerPixel);
  if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) return;

  // Refused: stay on the desktop's mode, now and in later runs.
  settings_.XResolution = GetSystemMetrics(SM_CXFULLSCREEN);
  settings_.YResolution = GetSystemMetrics(SM_CYFULLSCREEN);
  settings_.CurrentVideomode = 1;
  settings_.Save();
}

void CGLWindow::OnTimer() {
  if (slowFrames_.WarningDue(frameCounter_, host_->TickCount())) {
    KillTimer(hwnd_, kFrameTimer);
    ShowBox(LoadResourceString(IDS_SLOW_MACHINE).c_str(), MessageIcon::None);
    SetTimer(hwnd_, kFrameTimer, 0, nullptr);
  }
  ++frameCounter_;
  if (!renderingContext_) return;
  DrawFrame(scene_);
  SwapBuffers(deviceContext_);
}

LRESULT CGLWindow::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
  if (settings_.DemoMode != 0) return 0;
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  if (mouseRule_.EndsRun(x, y, busy_)) RequestClose();
  return Default(message, wParam, lParam);
}

LRESULT CGLWindow::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam) {
  const WPARAM command = wParam & 0xFFF0;
  if (command == SC_SCREENSAVE || command == SC_CLOSE) return 0;
  // Windows 95/98/Me would power the monitor down under a running screensaver.
  if (command == SC_MONITORPOWER && (GetVersion() & 0x80000000u) != 0) return 0;
  return Default(message, wParam, lParam);
}

void CGLWindow::OnDestroy() {
  blackout_.Remove();
  ChangeDisplaySettingsA(nullptr, 0);
  wglMakeCurrent(nullptr, nullptr);
  if (renderingContext_) wglDeleteContext(renderingContext_);
  renderingContext_ = nullptr;
  ReleaseSceneBuffers(scene_);

  HDC screen = GetDC(nullptr);
  const RECT screenRect{0, 0, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
  InvalidateRect(nullptr, &screenRect, TRUE);
  ReleaseDC(nullptr, screen);
  if (deviceContext_) ReleaseDC(hwnd_, deviceContext_);
  deviceContext_ = nullptr;
}

void CGLWindow::PostNcDestroy() {
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
  fw::Window::PostNcDestroy();  // the application, the object's owner, frees it
}
