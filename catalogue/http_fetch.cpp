#include "catalogue/http_fetch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include "catalogue/web_address.h"

namespace {

constexpr DWORD kPieceBytes = 20000;
constexpr int kAttempts = 5;
constexpr DWORD kAttemptPauseMs = 250;
constexpr DWORD kPumpMs = 50;  // how long the progress window may go without its messages

using FetchResult = Result<FetchError>;

FetchResult Fail(FetchError code, const std::string& url, const std::string& why) {
  return FetchResult::Fail(code, url + ": " + why);
}

// The system's cache is neither read nor written, no cookie and no credentials go with the
// request, no dialog comes up, and a redirection is an answer like any other (so a site
// can't send the request on to a plain http address).
constexpr DWORD kRequestFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_RELOAD |
                                INTERNET_FLAG_SECURE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT;

// An error page is not the document asked for, so it counts as a failed attempt. The status
// (0 when there is none) goes into *status.
bool AnsweredWithSuccess(HINTERNET request, DWORD* status) {
  DWORD size = sizeof *status, index = 0;
  *status = 0;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, status, &size, &index)) return false;
  return *status >= 200 && *status < 300;
}

// The announced length: absent (true, *known false), a number (true), or garbage (false).
bool AnnouncedLength(HINTERNET request, bool* known, uint64_t* length) {
  char text[32] = "";
  DWORD size = sizeof text, index = 0;
  *known = false;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, &index)) return true;
  if (size == 0 || size > 19) return false;
  *length = 0;
  for (DWORD i = 0; i < size; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    *length = *length * 10 + static_cast<uint64_t>(text[i] - '0');
  }
  *known = true;
  return true;
}

// One download, shared by the thread that waits for it and the thread that does it. The
// waiting thread may give up (the deadline): it then closes the handles itself, which is how
// WinInet ends a call blocked on another thread, and the worker finishes without touching
// them again. Whoever ends the download closes the handles, exactly once, under the lock.
class FetchJob {
 public:
  FetchJob(HINTERNET session, std::string url, size_t maxBytes)
      : session_(session), url_(std::move(url)), maxBytes_(maxBytes), done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~FetchJob() {
    CloseHandles();
    if (done_) CloseHandle(done_);
  }
  FetchJob(const FetchJob&) = delete;
  FetchJob& operator=(const FetchJob&) = delete;

  HANDLE Done() const { return done_; }

  // On the worker.
  void Run() {
    FetchResult result = Download();
    std::lock_guard<std::mutex> lock(mutex_);
    if (!abandoned_) {
      CloseHandlesLocked();
      if (!result) body_.clear();
      result_ = std::move(result);
    }
    SetEvent(done_);
  }

  // On the waiting thread.
  void Abandon() {
    std::lock_guard<std::mutex> lock(mutex_);
    abandoned_ = true;
    CloseHandlesLocked();
  }
  FetchResult TakeResult(std::vector<uint8_t>* body) {
    std::lock_guard<std::mutex> lock(mutex_);
    body->swap(body_);
    return result_;
  }

 private:
  FetchResult Download() {
    const FetchResult abandoned = Fail(FetchError::TimedOut, url_, "given up at the deadline");
    HINTERNET file = nullptr;
    std::string lastProblem;
    for (int attempt = 0; attempt < kAttempts && !file; ++attempt) {
      if (attempt > 0) Sleep(kAttemptPauseMs);
      HINTERNET session = Current(&session_);
      if (!session) return abandoned;
      HINTERNET opened = InternetOpenUrlA(session, url_.c_str(), nullptr, 0, kRequestFlags, 1);
      if (!opened) {
        lastProblem = "error " + std::to_string(GetLastError());
        continue;
      }
      if (!Keep(opened)) return abandoned;
      DWORD status = 0;
      if (AnsweredWithSuccess(opened, &status)) {
        file = opened;
      } else {
        lastProblem = "status " + std::to_string(status);
        CloseFile();
      }
    }
    if (!file)
      return Fail(FetchError::NoAnswer, url_, std::to_string(kAttempts) + " attempts, the last: " + lastProblem);

    bool known = false;
    uint64_t announced = 0;
    if (!AnnouncedLength(file, &known, &announced)) return Fail(FetchError::BadAnswer, url_, "a garbled length");
    if (known && announced > maxBytes_)
      return Fail(FetchError::BadAnswer, url_, std::to_string(announced) + " bytes announced, more than the bound");
    try {
      std::vector<uint8_t> piece(kPieceBytes);
      for (;;) {
        // Only what has arrived is read, so every call returns as soon as a piece does.
        DWORD available = 0, read = 0;
        if (Abandoned()) return abandoned;
        if (!InternetQueryDataAvailable(file, &available, 0, 0)) return BrokenOff(abandoned);
        const DWORD wanted = std::clamp<DWORD>(available, 1, kPieceBytes);
        if (Abandoned()) return abandoned;
        if (!InternetReadFile(file, piece.data(), wanted, &read)) return BrokenOff(abandoned);
        if (read == 0) break;
        if (read > maxBytes_ - body_.size()) return Fail(FetchError::BadAnswer, url_, "more bytes than the bound");
        body_.insert(body_.end(), piece.begin(), piece.begin() + read);
      }
    } catch (const std::bad_alloc&) {
      return Fail(FetchError::NoMemory, url_, "no memory for the body");
    }
    if (known && announced != body_.size())
      return Fail(FetchError::BadAnswer, url_,
                  std::to_string(body_.size()) + " bytes of " + std::to_string(announced) + " announced");
    return FetchResult::Ok();
  }

  bool Abandoned() {
    std::lock_guard<std::mutex> lock(mutex_);
    return abandoned_;
  }
  // A read that failed: the waiting thread closed the handles, or the connection broke.
  FetchResult BrokenOff(const FetchResult& abandoned) {
    const DWORD error = GetLastError();
    return Abandoned() ? abandoned : Fail(FetchError::BadAnswer, url_, "broke off, error " + std::to_string(error));
  }
  // The handle, or null once the waiting thread gave up.
  HINTERNET Current(HINTERNET* handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    return abandoned_ ? nullptr : *handle;
  }
  // False once the waiting thread gave up: the handle is then left to the closed session.
  bool Keep(HINTERNET file) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (abandoned_) return false;
    file_ = file;
    return true;
  }
  void CloseFile() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_) InternetCloseHandle(file_);
    file_ = nullptr;
  }
  void CloseHandles() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseHandlesLocked();
  }
  void CloseHandlesLocked() {
    if (file_) InternetCloseHandle(file_);
    if (session_) InternetCloseHandle(session_);
    file_ = session_ = nullptr;
  }

  std::mutex mutex_;
  HINTERNET session_;
  HINTERNET file_ = nullptr;
  bool abandoned_ = false;
  const std::string url_;
  const size_t maxBytes_;
  std::vector<uint8_t> body_;  // the worker's until the download ends
  FetchResult result_ = FetchResult::Fail(FetchError::TimedOut, "unfinished");
  HANDLE done_;
};

}  // namespace

FetchResult HttpFetch(const std::string& url, const FetchLimits& limits, DownloadProgress* progress,
                      std::vector<uint8_t>* body) {
  body->clear();
  if (!IsSecureWebAddress(url)) return Fail(FetchError::NotSecure, url, "not a secure web address");

  HINTERNET session = InternetOpenA("Tellaro update checker", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!session) return Fail(FetchError::NoSession, url, "InternetOpen error " + std::to_string(GetLastError()));
  DWORD connect = limits.connectTimeoutMs, receive = limits.receiveTimeoutMs;
  InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
  InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
  InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);

  std::shared_ptr<FetchJob> job;
  try {
    job = std::make_shared<FetchJob>(session, url, limits.maxBytes);
  } catch (const std::bad_alloc&) {
    InternetCloseHandle(session);
    return Fail(FetchError::NoMemory, url, "no memory for the download");
  }
  // The job closes the session from here on.
  if (!job->Done()) return Fail(FetchError::NoMemory, url, "no event for the download");
  try {
    std::thread([job] { job->Run(); }).detach();
  } catch (const std::system_error&) {
    return Fail(FetchError::NoMemory, url, "no thread for the download");
  }

  for (;;) {
    const uint64_t now = GetTickCount64();
    if (now >= limits.deadline) {
      job->Abandon();
      return Fail(FetchError::TimedOut, url, "given up at the deadline");
    }
    const DWORD left = static_cast<DWORD>(std::min<uint64_t>(limits.deadline - now, MAXDWORD - 1));
    if (WaitForSingleObject(job->Done(), progress ? std::min(left, kPumpMs) : left) == WAIT_OBJECT_0) break;
    if (progress) progress->DispatchPending();
  }
  FetchResult fetched = job->TakeResult(body);
  if (!fetched) body->clear();
  return fetched;
}
