#pragma once
// The screensaver's command line: which run mode the program enters. Only the first two
// characters of the lower-cased, trimmed text decide ("/sp" and "/screensaver" are "/s").
#include <cstdint>
#include <string>
#include <vector>

enum class RunMode {
  Settings,        // empty text, "/c" (a handle after a colon is ignored)
  FullScreen,      // "/s"
  Preview,         // "/p <decimal handle>" or "/p:<decimal handle>"
  EmbeddedPage,    // "-1:<hex handle>"
  PasswordChange,  // "/a": nothing to do
  None,            // no switch or an unknown one: the program ends
};

struct CommandLine {
  RunMode mode = RunMode::None;
  // Preview: the host window from the third argument; embedded page: from "-1:%lx".
  // Zero when it cannot be read.
  uint64_t hostWindow = 0;
};

// text: what follows the program name; arguments: the whole argument vector, program
// name first (the preview's host handle is its third entry).
CommandLine ParseCommandLine(const std::string& text, const std::vector<std::string>& arguments);

// ASCII letters lowered, every other byte kept, so multibyte characters stay intact.
std::string LowerAndTrim(const std::string& text);
