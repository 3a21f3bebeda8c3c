// The settings dialog's rule of one operation at a time, played as the dialog meets it: a
// request arriving while an operation waits on a sibling (here: from inside the operation).
// Under the sanitizers, an operation that freed what the running one still uses would show.
#include "settings/one_at_a_time.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Later = OneAtATime::Later;

// A page switch: frees the page shown and makes the next, and while the old one goes (its
// sibling being asked to close) the `meanwhile` requests arrive.
struct Dialog {
  OneAtATime operations;
  std::unique_ptr<std::string> page = std::make_unique<std::string>("own");
  std::string log;
  std::function<void()> meanwhile;

  void Switch(const std::string& to) {
    operations.Run(
        [this, to] {
          const std::string& going = *page;  // in use until the switch ends
          if (meanwhile) std::exchange(meanwhile, nullptr)();
          log += going + ">" + to + " ";
          page = std::make_unique<std::string>(to);
        },
        Later::Latest);
  }
};

TEST(OneAtATime, RequestsDuringAnOperationWaitAndTheLatestSwitchOrAFirstCloseIsTakenAfterIt) {
  const struct {
    const char* name;
    std::function<void(Dialog&)> meanwhile;
    std::string log;
  } cases[] = {
      {"nothing meanwhile", nullptr, "own>a "},
      {"one key", [](Dialog& d) { d.Switch("b"); }, "own>a a>b "},
      {"three keys: the last is the choice", [](Dialog& d) { d.Switch("b"), d.Switch("c"), d.Switch("d"); },
       "own>a a>d "},
      {"a Web Update is not taken",
       [](Dialog& d) { EXPECT_FALSE(d.operations.Run([&d] { d.log += "update "; }, Later::Ignored)); }, "own>a "},
      {"a close after a key: the close ends it",
       [](Dialog& d) {
         d.Switch("b");
         d.operations.Run([&d] { d.log += "close "; }, Later::Final);
         d.Switch("c");
       },
       "own>a close "},
      {"a key dropped by the operation", [](Dialog& d) { d.Switch("b"), d.operations.DropWaiting(); }, "own>a "},
  };
  for (const auto& c : cases) {
    Dialog dialog;
    if (c.meanwhile) dialog.meanwhile = [&dialog, &c] { c.meanwhile(dialog); };
    dialog.Switch("a");
    EXPECT_EQ(dialog.log, c.log) << c.name;
    EXPECT_FALSE(dialog.operations.Busy()) << c.name;
    // Once all ended, the next request runs at once.
    EXPECT_TRUE(dialog.operations.Run([] {}, Later::Ignored)) << c.name;
  }
}

}  // namespace
