#pragma once
// A fixture for the bar's mouse: the drawing fixture's bar, with its place stored under a known
// computer section, and no control left holding the mouse capture when a test ends (a held
// capture would route the next test's pointer to a bar that is gone).

#include "core/vars_bas.h"
#include "platform/forms/mouse_capture.h"
#include "tests/support/bar_drawing_fixture.h"

namespace testing_support {

class BarMouseFixture : public BarDrawingFixture {
 protected:
  void SetUp() override {
    BarDrawingFixture::SetUp();
    g_ComputerSection = QStringLiteral("PC_Test");
  }
  void TearDown() override {
    platform::ReleaseCapture();
    BarDrawingFixture::TearDown();
  }
};

}  // namespace testing_support
