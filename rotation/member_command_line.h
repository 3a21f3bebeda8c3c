#pragma once
// The command line a collection member is started with: the quoted program path, one
// blank, and the argument text. Both programs use it: the launcher passes the host's
// arguments on, the settings dialog passes "-1:" and the handle of the page window that is
// to hold the member's settings page.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rotation {

// Room for the composed command line, terminating NUL included.
inline constexpr std::size_t kCommandLineBufferSize = 2048;

// "\"<path>\" <arguments>", or none when it would not fit kCommandLineBufferSize.
// An argument string that does not fit is refused, not cut: a cut argument could start the
// member in another mode or point it at another window than the caller meant.
std::optional<std::string> ComposeMemberCommandLine(std::string_view executablePath, std::string_view arguments);

// "-1:" and the window handle in upper-case hexadecimal without leading zeros. Window
// handles carry 32 significant bits on 64-bit Windows too (32- and 64-bit programs share
// them), and the member reads the number back as a 32-bit long, so only those bits are
// written.
std::string FormatPageArgument(std::uintptr_t windowHandle);

}  // namespace rotation
