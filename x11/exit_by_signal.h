#pragma once
// The end of a run that a signal asked for. XScreenSaver ends a display program with
// SIGTERM and logs any other end as a fault, so after its clean-up the program ends by the
// signal that stopped it: with the signal's default action, raised again, the parent sees
// death by that signal.
[[noreturn]] void ExitBySignal(int signal);
