#pragma once
// One operation of the settings dialog at a time. A page switch, a Web Update or a close can
// wait on another program, and while it waits the dialog's thread answers the messages that
// other threads send it; one of those (a key sent to the product list, a command sent to the
// dialog) must not start a second operation inside the first, which would free what the first
// still works on. Plain C++: the rule is tested natively.
#include <functional>

class OneAtATime {
 public:
  // What becomes of a request that arrives while another operation runs.
  enum class Later {
    Ignored,  // dropped (a Web Update asked for during another operation)
    Latest,   // run once the operation ends, unless a later request replaces it (a page switch)
    Final,    // run once the operation ends; nothing later replaces it (a close)
  };

  // Runs `operation` now when nothing runs, followed by whatever request waits once it ends;
  // else treats it as `later` says. True when it ran now.
  bool Run(std::function<void()> operation, Later later);

  // Forgets the request that waits, if any: the operation running made it meaningless.
  void DropWaiting();

  bool Busy() const { return busy_; }

 private:
  bool busy_ = false;
  bool waitingIsFinal_ = false;
  std::function<void()> waiting_;
};
