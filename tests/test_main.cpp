#include <gtest/gtest.h>

#include "bar/SysTrayCls.h"
#include "core/KeyBoardHook_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/default_instance.h"

#include <QApplication>

#include <cstdlib>

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

}  // namespace

// Tests run forms and drawing under Qt's offscreen platform unless a display platform is asked
// for explicitly, so test discovery and CI work without an X server.
int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  // The tests run without an X server, where every load of the bar would tell the learner that the
  // hot keys do not work; only the test of that message turns it on.
  SetKeyboardHookFailureReporting(false);
  // Nor is there a tray: every load of the bar would tell that its menu is on its right click.
  SetMissingTrayReporting(false);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new SharedStateReset);  // owned by the listener list
  const int result = RUN_ALL_TESTS();
  platform::UnloadAllForms();
  return result;
}
