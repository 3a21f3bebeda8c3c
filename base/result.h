#pragma once
// The one way a failure travels below the hosts: a result is either success or a code with a
// short reason for the log ("stars.dat: 12 bytes, want a multiple of 40"). Code below the
// hosts never shows anything; the host at the top (the full-screen window, the settings
// dialog, the preview, the launcher's main, the X11 main) turns the code into what the user
// sees. Each module declares its own `enum class` of codes whose first enumerator, value 0,
// is success.
#include <string>
#include <utility>

template <typename Code>
class [[nodiscard]] Result {
 public:
  Result() = default;  // success
  static Result Ok() { return Result(); }
  static Result Fail(Code code, std::string reason = {}) { return Result(code, std::move(reason)); }

  bool ok() const { return code_ == Code{}; }
  explicit operator bool() const { return ok(); }
  Code code() const { return code_; }
  const std::string& reason() const { return reason_; }

 private:
  Result(Code code, std::string reason) : code_(code), reason_(std::move(reason)) {}
  Code code_{};
  std::string reason_;
};
