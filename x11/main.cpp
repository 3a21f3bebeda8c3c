// tellaro for X11: the screensaver as a display program of XScreenSaver and its relatives.
#include <cstdio>
#include <cstdlib>

#include "x11/exit_by_signal.h"
#include "x11/options.h"
#include "x11/saver_run.h"
#include "x11/stop_signals.h"

int main(int argc, char** argv) {
  Options options;
  const ParseResult parsed = ParseOptions(argc - 1, argv + 1, std::getenv("XSCREENSAVER_WINDOW"), &options);
  if (!parsed.ok) {
    std::fprintf(stderr, "tellaro: %s\n", parsed.error.c_str());
    return 1;
  }
  if (options.help) {
    PrintUsage(stdout);
    return 0;
  }
  const int code = RunSaver(options);
  if (const int signal = stop_signals::Received()) ExitBySignal(signal);
  return code;
}
