#include "x11/exit_by_signal.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>

// A death by signal skips the exit handlers, among them the sanitizer's leak check, which
// the build with AddressSanitizer therefore runs here.
#if defined(__SANITIZE_ADDRESS__)
#define TELLARO_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TELLARO_LEAK_CHECK 1
#endif
#endif
#ifdef TELLARO_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

void ExitBySignal(int signal) {
  std::fflush(nullptr);
#ifdef TELLARO_LEAK_CHECK
  __lsan_do_leak_check();
#endif
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  sigset_t pending;
  sigemptyset(&pending);
  sigaddset(&pending, signal);
  sigprocmask(SIG_UNBLOCK, &pending, nullptr);
  raise(signal);
  // Only a signal whose default action does not end the process comes back here.
  std::_Exit(128 + signal);
}
