#pragma once
// Real input through SendInput, as a user gives it. It arrives on its own time: callers wait
// for what the input is to change, with a deadline.
#include <windows.h>

inline void ClickAt(int x, int y) {
  SetCursorPos(x, y);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
}

inline void ClickOn(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

inline void PressKey(WORD key) {
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_KEYBOARD;
  press[0].ki.wVk = press[1].ki.wVk = key;
  press[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, press, sizeof(INPUT));
}
