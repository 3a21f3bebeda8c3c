#pragma once
// SIGTERM and SIGINT end the run at the next turn of its loop; the loop also waits on the
// descriptor Install returns, so a signal wakes it at once. SIGSTOP and SIGCONT need nothing
// here: a stopped process simply draws no frames, and the frame pacer starts again from the
// moment it continues.
namespace stop_signals {

// The read end of the wake-up pipe, or -1 when none could be made (the flag still works).
int Install();
bool Requested();
// The signal that asked for the end (the last one, if both came), or 0.
int Received();

}  // namespace stop_signals
