#pragma once
// What a web load tells the user while it runs; CProgressWindow is the real one.

class DownloadProgress {
 public:
  virtual ~DownloadProgress() = default;
  virtual void SetStatus(const char* text) = 0;
  virtual void SetLocation(const char* text) = 0;
  virtual void SetPercent(int percent) = 0;  // 0 to 100
  // Lets the window paint and take its clicks; other windows' messages stay queued.
  virtual void DispatchPending() = 0;
};
