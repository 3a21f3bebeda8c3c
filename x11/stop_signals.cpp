#include "x11/stop_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

volatile sig_atomic_t received = 0;
int wakeWrite = -1;

void OnStop(int signal) {
  // The interrupted code may be about to read errno, which write() can change.
  const int savedErrno = errno;
  received = signal;
  if (wakeWrite >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakeWrite, &byte, 1);
  }
  errno = savedErrno;
}

}  // namespace

namespace stop_signals {

int Install() {
  int ends[2] = {-1, -1};
  if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) wakeWrite = ends[1];
  struct sigaction action {};
  action.sa_handler = OnStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  return ends[0];
}

bool Requested() { return received != 0; }

int Received() { return received; }

}  // namespace stop_signals
