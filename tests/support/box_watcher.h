#pragma once
// Message boxes of one thread, read from another thread while they are up, then dismissed with OK.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
  std::string text;
  bool stopIcon = false;  // the system's stop icon
  bool okOnly = false;    // an OK button and no Cancel
};

class BoxWatcher {
 public:
  explicit BoxWatcher(DWORD threadId = GetCurrentThreadId()) : threadId_(threadId), thread_([this] { Run(); }) {}
  ~BoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  std::vector<SeenBox> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const SeenBox& box : Seen()) texts.push_back(box.text);
    return texts;
  }

 private:
  // A visible dialog with a message control (0xFFFF).
  static BOOL CALLBACK Find(HWND hwnd, LPARAM lParam) {
    char name[32] = "";
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(hwnd) || !GetDlgItem(hwnd, 0xFFFF)) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
  }
  // The icon is a static control of its own (its identifier differs between systems).
  static BOOL CALLBACK FindStopIcon(HWND child, LPARAM lParam) {
    static const HICON stop = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND));
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON ||
        reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) != stop)
      return TRUE;
    *reinterpret_cast<bool*>(lParam) = true;
    return FALSE;
  }
  void Run() {
    while (!stop_) {
      HWND box = nullptr;
      EnumThreadWindows(threadId_, &Find, reinterpret_cast<LPARAM>(&box));
      if (!box) {
        Sleep(10);
        continue;
      }
      SeenBox seen;
      char text[512] = "";
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
      seen.text = text;
      EnumChildWindows(box, &FindStopIcon, reinterpret_cast<LPARAM>(&seen.stopIcon));
      seen.okOnly = GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(seen);
      }
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      while (!stop_ && IsWindow(box) && IsWindowVisible(box)) Sleep(10);
    }
  }

  DWORD threadId_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenBox> seen_;
  std::thread thread_;
};
