#include <gtest/gtest.h>

#include "bar/SysTrayCls.h"
#include "core/KeyBoardHook_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/default_instance.h"
#include "tests/support/skip_log.h"
#include "tests/support/xvfb_server.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Every test starts from the program's start values, whatever ran before it in this process, so
// the tests pass in any order and none sees what another left behind. Forms an earlier test
// unloaded are deleted first: until then their timers would go on running the program's code.
class SharedStateReset : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& /*test*/) override {
    platform::DeleteUnloadedForms();
    ResetSharedState();
  }
};

#ifdef LEXORN_TESTS_ON_AN_X_SERVER
// Listing the tests (as the build does to find them) needs no X server.
bool ListsTests(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
  }
  return false;
}
#endif

}  // namespace

#ifdef LEXORN_TESTS_ON_AN_X_SERVER
// Qt's X11 platform keeps a D-Bus connection the system library never frees; under the leak
// checker of the sanitizer build that alone would fail the run.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
#endif

// Unit tests run forms and drawing under Qt's offscreen platform unless a display platform is
// asked for explicitly, so test discovery and CI work without an X server. The end-to-end tests
// also drive windows of this process through a real X server: Qt's X11 platform on a private
// Xvfb, started before the application connects and stopped after it has gone. Only this process
// takes the X11 platform: the programs the tests start inherit the offscreen one unless a test
// gives them a display of their own.
int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::vector<char*> arguments(argv, argv + argc);
#ifdef LEXORN_TESTS_ON_AN_X_SERVER
  std::unique_ptr<testing_support::XvfbServer> server;
  char platformOption[] = "-platform";
  char platform[] = "xcb";
  if (!ListsTests(argc, argv)) {
    server = std::make_unique<testing_support::XvfbServer>(testing_support::XvfbOptions{.trayHost = false});
    if (!server->running()) {
      std::fprintf(stderr, "No X server for the tests: %s\n", server->error().toLocal8Bit().constData());
      return 1;
    }
    setenv("DISPLAY", server->display().toLocal8Bit().constData(), 1);
    arguments.insert(arguments.begin() + 1, {platformOption, platform});
  }
#endif
  int count = static_cast<int>(arguments.size());
  arguments.push_back(nullptr);
  QApplication app(count, arguments.data());
  // The unit tests run without an X server, where every load of the bar would tell the learner that
  // the hot keys do not work; only the test of that message turns it on.
  SetKeyboardHookFailureReporting(false);
  // Nor is there a tray: every load of the bar would tell that its menu is on its right click.
  SetMissingTrayReporting(false);
  ::testing::InitGoogleTest(&count, arguments.data());
  ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
  listeners.Append(new SharedStateReset);  // owned by the listener list
  listeners.Append(new testing_support::SkipLog);
  const int result = RUN_ALL_TESTS();
  platform::UnloadAllForms();
  return result;
}
