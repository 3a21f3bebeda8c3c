#include "framework/other_process.h"

#include <cstdint>

namespace fw {

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, LRESULT* result) {
  DWORD_PTR answer = 0;
  // SMTO_NORMAL: messages sent to this thread are still handled while it waits.
  const LRESULT sent =
      SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &answer);
  if (sent && result) *result = static_cast<LRESULT>(answer);
  return sent != 0;
}

bool WaitAnsweringSends(HANDLE object, DWORD timeoutMs) {
  const DWORD deadline = GetTickCount() + timeoutMs;
  for (;;) {
    const int32_t left = static_cast<int32_t>(deadline - GetTickCount());
    const DWORD wait = left > 0 ? static_cast<DWORD>(left) : 0;
    const DWORD woken = MsgWaitForMultipleObjects(1, &object, FALSE, wait, QS_SENDMESSAGE);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken != WAIT_OBJECT_0 + 1) return false;  // time is up, or the handle is not waitable
    // Peeking dispatches the messages sent to this thread and removes nothing posted.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace fw
