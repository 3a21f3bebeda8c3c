#pragma once
// Downloads of the catalogue, its screenshots and icons over https, through WinInet with the
// system's preconfigured access (its proxy settings). The network calls run on a thread of
// their own; the calling thread waits for them with a deadline, keeping the progress
// window's messages flowing meanwhile.
#include <cstdint>
#include <string>
#include <vector>

#include "base/result.h"
#include "catalogue/catalogue_limits.h"
#include "catalogue/download_progress.h"

struct FetchLimits {
  size_t maxBytes = 0;
  uint64_t deadline = 0;  // the GetTickCount64() value at which the fetch gives up
  uint32_t connectTimeoutMs = kConnectTimeoutMs;
  uint32_t receiveTimeoutMs = kReceiveTimeoutMs;  // and to send; for each piece, not the whole
};

enum class FetchError {
  None,
  NotSecure,  // not a secure web address (catalogue/web_address.h)
  NoSession,  // no Internet session could be opened
  NoAnswer,   // unreachable, no trusted certificate for its name, or no 2xx status
  BadAnswer,  // a body that breaks its bound or its announced length, or breaks off
  TimedOut,   // the deadline passed
  NoMemory,
};

// Success with `body` holding the whole body (empty when the server sent none). On failure
// `body` is empty and the result says why: the address is not a secure web address, no
// session can be opened, the server can't be reached, doesn't show a certificate the system
// trusts for its name, or answers with a status other than 2xx in 5 attempts 250 ms apart (a
// redirection included), the body announces or holds more than maxBytes or less than it
// announced, the deadline passes, or memory runs out. No cookie, no credentials and no user
// interface go with a request, and nothing goes to the system's cache. While it waits,
// `progress` (may be null) dispatches its window's messages.
Result<FetchError> HttpFetch(const std::string& url, const FetchLimits& limits, DownloadProgress* progress,
                             std::vector<uint8_t>* body);
