#pragma once
// Window tests that need a real X server (real mouse clicks through the server, screenshots) are
// written among the unit tests and skip themselves under the offscreen platform. The end-to-end
// suite runs them again: the unit-test binary started on a private Xvfb with Qt's X11 platform.

#include "tests/support/xvfb_server.h"

#include <QString>

namespace testing_support {

// Runs the unit tests matching `filter` on `server` with Qt's X11 platform; their output and exit
// code come back in the result.
CommandResult RunUnitTestsOnXServer(const XvfbServer& server, const QString& filter);

}  // namespace testing_support
