#pragma once
// Talking to windows and processes of other programs from a user-interface thread: every
// wait is bounded, and while it lasts the thread goes on answering the messages that other
// threads send it, so two programs waiting on each other never freeze for good.
#include <windows.h>

namespace fw {

// How long a window of another program may take to answer before it counts as not answering.
constexpr DWORD kOtherProgramAnswerMs = 2000;

// SendMessage to a window of another program that gives up after `timeoutMs`, or at once
// when the other thread is hung. True when the window answered; *result then holds its answer.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs = kOtherProgramAnswerMs,
                 LRESULT* result = nullptr);

// Waits up to `timeoutMs` for `object` (a process, say) to be signalled, answering messages
// sent to this thread meanwhile; posted messages stay queued for the loop. True when signalled.
bool WaitAnsweringSends(HANDLE object, DWORD timeoutMs);

}  // namespace fw
