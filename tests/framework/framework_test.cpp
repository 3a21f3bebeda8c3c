// The framework on Wine's real windowing: objects attached from their first message, nested
// creation, the destruction order, dialog routing, keyboard navigation in a modeless page,
// a page inside another process's window, and the main window's end.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/window.h"
#include "tests/framework/framework_test_ids.h"
#include "tests/support/message_pump.h"
#include "tests/support/win_process.h"

namespace {

// A plain window that notes what reached it, and whether its WM_DESTROY ran.
class NotingWindow : public fw::Window {
 public:
  std::vector<UINT> seen;
  bool attachedInCreate = false;
  bool* destroyed = nullptr;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    if (message == WM_CREATE) attachedInCreate = FromHandle(hwnd_) == this;
    if (message == WM_DESTROY && destroyed) *destroyed = true;
    return Default(message, wParam, lParam);
  }
};

// A settings page: three tab stops, a control host made while the page is created, a
// notification answered through the dialog result, and a save on WM_DESTROY.
class Page : public fw::Dialog {
 public:
  explicit Page(int templateId = IDD_PAGE) : fw::Dialog(templateId) {
    BindNotify(IDC_THIRD, NM_CLICK, [](NMHDR&) -> LRESULT { return 4711; });
    BindCommand(IDC_SECOND, BN_CLICKED, [this] { ++secondClicks; });
  }
  NotingWindow controlHost;
  bool initialised = false;
  bool attachedAtFirstMessage = false;
  int secondClicks = 0;
  bool* saved = nullptr;

 protected:
  BOOL OnInitDialog() override {
    initialised = FromHandle(hwnd_) == this;
    const RECT rect{120, 30, 170, 60};
    controlHost.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, rect, hwnd_, 99);
    return fw::Dialog::OnInitDialog();
  }
  INT_PTR OnMessage(UINT message, WPARAM, LPARAM) override {
    if (message == WM_SETFONT) attachedAtFirstMessage = true;  // sent before WM_INITDIALOG
    if (message == WM_DESTROY && saved) *saved = true;
    return FALSE;
  }
};

// A modal dialog that makes its page while it is being created and closes by its OK button.
class Outer : public fw::Dialog {
 public:
  Outer() : fw::Dialog(IDD_OUTER) {}
  Page page;
  int exchanges = 0;
  bool pageCreated = false;

 protected:
  BOOL OnInitDialog() override {
    pageCreated = page.CreateModeless(hwnd_);
    PostMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd_, IDOK)));
    return fw::Dialog::OnInitDialog();
  }
  void DataExchange(bool save) override {
    if (save) ++exchanges;
  }
};

TEST(Framework, NestedCreationAttachesEveryObjectFromItsFirstMessage) {
  const int faultsBefore = fw::LifetimeFaults();
  bool pageSaved = false;
  Outer outer;
  outer.page.saved = &pageSaved;
  EXPECT_EQ(outer.DoModal(nullptr), IDOK) << "the OK button ends the modal dialog";
  EXPECT_EQ(outer.exchanges, 1) << "OK moved the controls into the object once";
  EXPECT_TRUE(outer.pageCreated);
  EXPECT_TRUE(outer.page.attachedAtFirstMessage);
  EXPECT_TRUE(outer.page.initialised);
  const std::vector<UINT>& seen = outer.page.controlHost.seen;
  ASSERT_FALSE(seen.empty());
  EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_NCCREATE)), seen.end());
  EXPECT_TRUE(outer.page.controlHost.attachedInCreate) << "the innermost object got its own window";
  EXPECT_TRUE(pageSaved) << "the page's own WM_DESTROY ran when its dialog ended";
  EXPECT_EQ(outer.Handle(), nullptr);
  EXPECT_EQ(outer.page.Handle(), nullptr);
  EXPECT_EQ(outer.page.controlHost.Handle(), nullptr);

  // No creation is pending any more: a plain window made now belongs to nobody.
  HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(fw::Window::FromHandle(plain), nullptr);
  DestroyWindow(plain);
  EXPECT_EQ(fw::LifetimeFaults(), faultsBefore);
}

TEST(Framework, TheWindowEndsBeforeItsObjectOrTheFaultIsCaught) {
  const int faultsBefore = fw::LifetimeFaults();
  const RECT rect{0, 0, 100, 100};
  bool destroyed = false;
  auto window = std::make_unique<NotingWindow>();
  window->destroyed = &destroyed;
  ASSERT_TRUE(window->CreateEx(0, nullptr, "ordered", WS_POPUP, rect, nullptr, 0));
  window->Destroy();
  EXPECT_TRUE(destroyed) << "the derived WM_DESTROY runs when the owner destroys first";
  window.reset();
  EXPECT_EQ(fw::LifetimeFaults(), faultsBefore);

  // The wrong order: the windows are detached and ended, and each fault is counted (the
  // page's control host, a member, goes first, then the page).
  auto early = std::make_unique<Page>(IDD_OUTER);
  ASSERT_TRUE(early->CreateModeless(nullptr));
  HWND orphan = early->Handle();
  EXPECT_TRUE(fw::IsModelessDialog(orphan));
  early.reset();
  EXPECT_EQ(fw::LifetimeFaults(), faultsBefore + 2);
  EXPECT_FALSE(IsWindow(orphan));
  EXPECT_FALSE(fw::IsModelessDialog(orphan)) << "the loop's dialog list still holds the freed dialog";
}

// Handlers that fail (a download's buffer that can't be had) throw back towards the system:
// the window and dialog procedures stop them, and both windows go on answering afterwards.
class ThrowingWindow : public fw::Window {
 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) throw std::bad_alloc();
    if (message == WM_APP + 1) return 42;
    return Default(message, wParam, lParam);
  }
};

class ThrowingPage : public fw::Dialog {
 public:
  ThrowingPage() : fw::Dialog(IDD_OUTER) {
    BindCommand(IDC_SECOND, BN_CLICKED, [this] {
      ++clicks;
      throw std::runtime_error("handler failed");
    });
  }
  int clicks = 0;
};

TEST(Framework, AnExceptionFromAHandlerStopsAtTheProcedureAndTheWindowGoesOn) {
  const int before = fw::EscapedExceptions();
  ThrowingWindow window;
  const RECT rect{0, 0, 100, 100};
  ASSERT_TRUE(window.CreateEx(0, nullptr, "throwing", WS_POPUP, rect, nullptr, 0));
  EXPECT_EQ(SendMessageA(window.Handle(), WM_APP, 0, 0), 0);
  EXPECT_EQ(SendMessageA(window.Handle(), WM_APP + 1, 0, 0), 42);

  ThrowingPage page;
  ASSERT_TRUE(page.CreateModeless(nullptr));
  for (int click = 0; click < 2; ++click)
    EXPECT_EQ(SendMessageA(page.Handle(), WM_COMMAND, MAKEWPARAM(IDC_SECOND, BN_CLICKED), 0), 0);
  EXPECT_EQ(page.clicks, 2) << "the dialog still routes its commands";
  EXPECT_EQ(fw::EscapedExceptions(), before + 3) << "each one stopped and reported";
  page.Destroy();
  window.Destroy();
  EXPECT_EQ(page.Handle(), nullptr) << "both still end in order";
  EXPECT_EQ(window.Handle(), nullptr);
}

// The page inside a window of another process that was made with this same framework.
TEST(Framework, PageInsideAnotherProcessWindowNavigatesAndAnswers) {
  ChildProcess host;
  ASSERT_TRUE(host.Start(WindowsPath(TELLARO_HOST_WINDOW_PATH), "")) << "CreateProcess error " << GetLastError();
  HWND hostWindow = host.WaitForWindow(20000, 300, 200);
  ASSERT_NE(hostWindow, nullptr);
  EXPECT_EQ(fw::Window::FromHandle(hostWindow), nullptr) << "a sibling's window is never taken for ours";

  bool saved = false;
  Page page;
  page.saved = &saved;
  ASSERT_TRUE(page.CreateModeless(hostWindow));
  ShowWindow(page.Handle(), SW_SHOWNA);
  EXPECT_EQ(GetParent(page.Handle()), hostWindow);

  // Tab from the first control reaches the second, through the loop's dialog routing.
  HWND first = GetDlgItem(page.Handle(), IDC_FIRST);
  HWND second = GetDlgItem(page.Handle(), IDC_SECOND);
  SetFocus(first);
  PumpFor(50);
  if (GetFocus() == first) {
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(first, WM_KEYUP, VK_TAB, 0xC0000001);
    PumpFor(100);
    EXPECT_EQ(GetFocus(), second) << "Tab moves to the next control";
  } else {
    ADD_FAILURE() << "the page's first control cannot take the focus inside the host";
  }
  // A mnemonic (Alt+S) presses the second button.
  PostMessageA(second, WM_SYSCHAR, 's', 1 << 29);
  PumpFor(100);
  EXPECT_EQ(page.secondClicks, 1);

  NMHDR header{GetDlgItem(page.Handle(), IDC_THIRD), IDC_THIRD, static_cast<UINT>(NM_CLICK)};
  EXPECT_EQ(SendMessageA(page.Handle(), WM_NOTIFY, IDC_THIRD, reinterpret_cast<LPARAM>(&header)), 4711);

  page.Destroy();
  EXPECT_TRUE(saved);
  PostMessageA(hostWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(host.WaitForExit(15000)) << "the host ends with its window";
}

// An application whose main window is a modeless dialog: its end ends the loop; and one
// whose loop ends by a quit request first: the main window is destroyed whole, then freed.
class PageApp : public fw::App {
 public:
  bool quitFirst = false;
  bool saved = false;
  bool exited = false;

 protected:
  bool InitInstance() override {
    auto page = std::make_unique<Page>(IDD_OUTER);  // a top-level one
    page->saved = &saved;
    if (!page->CreateModeless(nullptr)) return false;
    if (quitFirst) PostQuitMessage(7);
    else PostMessageA(page->Handle(), WM_COMMAND, IDCANCEL, 0);  // Esc or the close box
    SetMainWindow(std::move(page));
    return true;
  }
  int ExitInstance() override {
    exited = MainWindow() == nullptr;
    return fw::App::ExitInstance();
  }
};

TEST(Framework, TheMainWindowsEndEndsTheRunEitherWay) {
  const int faultsBefore = fw::LifetimeFaults();
  {
    PageApp app;
    EXPECT_EQ(app.Run(GetModuleHandleA(nullptr), ""), 0);
    EXPECT_TRUE(app.saved);
    EXPECT_TRUE(app.exited) << "the loop ended with the dialog; the object was freed before the exit hook";
  }
  {
    PageApp app;
    app.quitFirst = true;
    EXPECT_EQ(app.Run(GetModuleHandleA(nullptr), ""), 7);
    EXPECT_TRUE(app.saved) << "a main window still up at the quit request is destroyed whole";
    EXPECT_TRUE(app.exited);
  }
  EXPECT_EQ(fw::LifetimeFaults(), faultsBefore);
}

}  // namespace
