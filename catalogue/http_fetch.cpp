#include "catalogue/http_fetch.h"

#include <windows.h>
#include <wininet.h>

#include <new>

#include "catalogue/page_text.h"
#include "framework/app.h"

namespace {

constexpr DWORD kPieceBytes = 20000;
constexpr int kAttempts = 5;
constexpr DWORD kAttemptPauseMs = 250;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  void reset(HINTERNET handle) {
    if (handle_) InternetCloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HINTERNET handle_;
};

// An error page is not the document asked for, so it counts as a failed attempt.
bool AnsweredWithSuccess(HINTERNET request) {
  DWORD status = 0, size = sizeof status, index = 0;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index))
    return true;  // not HTTP (no status to judge)
  return status >= 200 && status < 300;
}

}  // namespace

int64_t HttpFetch(const std::string& url, std::vector<uint8_t>* body) {
  body->clear();
  // Only web addresses: WinInet would also open ftp:// and file paths.
  if (!IsWebAddress(url)) return -1;

  InternetHandle session(InternetOpenA("Tellaro update checker", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session.get()) {
    fw::ShowMessage(GetActiveWindow(), "Can't init internet connection!", MB_OK);
    return -1;
  }
  InternetHandle file(nullptr);
  for (int attempt = 0; attempt < kAttempts && !file.get(); ++attempt) {
    if (attempt > 0) Sleep(kAttemptPauseMs);
    file.reset(InternetOpenUrlA(session.get(), url.c_str(), nullptr, 0,
                                INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_BINARY, 1));
    if (file.get() && !AnsweredWithSuccess(file.get())) file.reset(nullptr);
  }
  if (!file.get()) return -1;

  try {
    std::vector<uint8_t> piece(kPieceBytes);
    for (;;) {
      DWORD read = 0;
      if (!InternetReadFile(file.get(), piece.data(), kPieceBytes, &read)) {
        body->clear();
        return -1;
      }
      if (read == 0) break;
      if (read > kMaxDownloadBytes - body->size()) {
        body->clear();
        body->shrink_to_fit();
        return -1;
      }
      body->insert(body->end(), piece.begin(), piece.begin() + read);
    }
  } catch (const std::bad_alloc&) {
    body->clear();
    return -1;
  }
  return static_cast<int64_t>(body->size());
}
