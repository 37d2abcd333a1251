#pragma once
// Skipped tests, written down for CI. A test may skip only when the machine lacks a device or a
// mount the test needs, and says so in one form (SKIP_AS_THE_MACHINE_LACKS); CI fails on any
// other skip (scripts/check-test-skips.sh). With LEXORN_TEST_SKIP_LOG naming a file, every test
// binary appends one line per skipped test to it: the test's full name, a tab, the reason on one
// line. Each line goes out in one write to a file opened for appending, so the test processes
// ctest runs side by side do not mix their lines.

#include <gtest/gtest.h>

// Skips the running test, naming what the machine lacks, e.g.
// SKIP_AS_THE_MACHINE_LACKS("a tmpfs mount: " << error).
#define SKIP_AS_THE_MACHINE_LACKS(what) GTEST_SKIP() << "the machine lacks " << what

namespace testing_support {

// The listener that appends the skipped tests to the log.
class SkipLog : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo& test) override;
};

}  // namespace testing_support
