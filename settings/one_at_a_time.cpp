#include "settings/one_at_a_time.h"

#include <utility>

bool OneAtATime::Run(std::function<void()> operation, Later later) {
  if (busy_) {
    if (later == Later::Ignored || waitingIsFinal_) return false;
    waiting_ = std::move(operation);
    waitingIsFinal_ = later == Later::Final;
    return false;
  }
  busy_ = true;
  operation();
  while (waiting_) {
    const std::function<void()> next = std::move(waiting_);
    waiting_ = nullptr;
    waitingIsFinal_ = false;
    next();
  }
  busy_ = false;
  return true;
}

void OneAtATime::DropWaiting() {
  waiting_ = nullptr;
  waitingIsFinal_ = false;
}
