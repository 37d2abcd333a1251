// A termination signal the program was started with ignored (nohup, a background job) stays
// ignored while the program watches the others, and after.
#include "platform/app/termination_signals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <signal.h>

namespace {

TEST(TerminationSignals, ASignalIgnoredAtTheStartStaysIgnored) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  struct sigaction before {};
  ASSERT_EQ(::sigaction(SIGHUP, &ignore, &before), 0);
  {
    const platform::TerminationSignals termination;
    ASSERT_EQ(::raise(SIGHUP), 0);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);  // a watched signal is read here
    EXPECT_FALSE(platform::TerminationRequested());
  }
  struct sigaction after {};
  ASSERT_EQ(::sigaction(SIGHUP, &before, &after), 0);
  EXPECT_EQ(after.sa_handler, SIG_IGN);
}

}  // namespace
