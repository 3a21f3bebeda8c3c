#pragma once
// The black windows over the monitors a full-screen run does not draw on, for the time of
// the run. Input on them goes to the run's window (CMonitorWindow).
#include <windows.h>

#include <memory>
#include <vector>

class CMonitorWindow;

class MonitorBlackout {
 public:
  static constexpr char kClassName[] = "TellaroBlackout";

  MonitorBlackout();
  ~MonitorBlackout();
  MonitorBlackout(const MonitorBlackout&) = delete;
  MonitorBlackout& operator=(const MonitorBlackout&) = delete;

  // Covers every monitor but the primary, each window top-most just below `run`, so the
  // run's window stays in front where monitors overlap. Windows that cannot be created are
  // left out; the run goes on without them.
  void Cover(HWND run);
  void Remove();
  size_t Count() const { return windows_.size(); }

 private:
  std::vector<std::unique_ptr<CMonitorWindow>> windows_;
};
