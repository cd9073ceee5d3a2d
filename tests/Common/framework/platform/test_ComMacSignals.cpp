// The termination signals: the first is noted and wakes the loop that waits (the program then ends
// through its own exit); a second one of the three ends the program at once, as the signal's
// default action does. Each case runs in a child, since a signal stays received for the process.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include "ComMacSignals.h"

namespace {

TEST(ComMacSignals, TheFirstSignalAsksForTheExitAndASecondEndsTheProgram) {
  struct Case {
    int first, second;  // second 0: none comes
  } cases[] = {{SIGTERM, 0}, {SIGINT, 0}, {SIGHUP, 0}, {SIGTERM, SIGTERM}, {SIGINT, SIGINT}, {SIGHUP, SIGTERM}, {SIGTERM, SIGINT}};
  for (const Case& c : cases) {
    SCOPED_TRACE("first " + std::to_string(c.first) + ", second " + std::to_string(c.second));
    auto run = [&c] {
      ComMacSignalsInstall();
      raise(c.first);
      // The first is only noted: the program goes on, and a watch of the wake-up descriptor sees it.
      pollfd p{ComMacSignalsWakeFd(), POLLIN, 0};
      if (ComMacSignalsReceived() != c.first || poll(&p, 1, 0) != 1) _exit(3);
      if (c.second) raise(c.second);
      _exit(0);
    };
    if (c.second)
      EXPECT_EXIT(run(), ::testing::KilledBySignal(c.second), "");
    else
      EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "") << "3: the first signal was not noted";
  }
}

}  // namespace
