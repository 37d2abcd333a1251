// The bar's mouse: a press on a display box moves the bar and its place is stored when the
// pointer leaves; resting on a box pauses the cycle; the right edge resizes within its minimum.
#include "bar/SkolvaneBar.h"
#include "core/vars_bas.h"
#include "platform/forms/mouse_capture.h"
#include "platform/ini/ini.h"
#include "tests/support/bar_mouse_fixture.h"
#include "tests/support/read_only_folder.h"

#include <gtest/gtest.h>

namespace {

class BarMouse : public testing_support::BarMouseFixture {
 protected:
  QString Stored(const QString& section, const QString& key) const {
    return platform::ReadProfileString(folders().libraryFolder() + "Words.ini", section, key, "Error");
  }

  // A press on the box, the window taken elsewhere by the move, and the pointer resting on the box.
  void DragTo(platform::PictureBox& box, const QPoint& place) {
    bar().DisplayBox_MouseDown(box, platform::kLeftButton, 0, 10, 5);
    bar().move(place);
    bar().Timer1_Timer();
    bar().DisplayBox_MouseMove(box, 0, 0, 10, 5);
  }
};

TEST_F(BarMouse, APressOnEachDisplayBoxMovesTheBarAndItsPlaceIsStoredWhenThePointerLeaves) {
  bar().Pic_ShowPicture->twips().setHeight(600);  // a cover row to rest on
  int offset = 0;
  for (platform::PictureBox* box :
       {bar().Pic_ShowText, bar().Pic_ShowPhonetic, bar().Pic_ShowLongMeaning, bar().Pic_ShowPicture}) {
    SCOPED_TRACE(box->objectName().toStdString());
    const QPoint place(300 + offset, 120 + offset);
    offset += 7;
    bar().DisplayBox_MouseDown(*box, platform::kLeftButton, 0, 10, 5);
    EXPECT_TRUE(g_IsDragging);
    EXPECT_TRUE(bar().Timer1->enabled());  // the 1 ms timer runs only while a move goes on

    bar().move(place);
    bar().Timer1_Timer();
    EXPECT_EQ(QPoint(g_WindowX, g_WindowY), place);  // the real place, read from the window
    EXPECT_EQ(QPoint(g_ColorSampleX, g_ColorSampleY), place);
    EXPECT_FALSE(bar().Timer1->enabled());  // no button held any more: the move is over

    bar().DisplayBox_MouseMove(*box, 0, 0, 10, 5);  // resting on the box: nothing stored yet
    EXPECT_TRUE(g_IsDragging);
    bar().DisplayBox_MouseMove(*box, 0, 0, -1, 5);  // leaving it
    EXPECT_FALSE(g_IsDragging);
    EXPECT_EQ(Stored("PC_Test", "WindowX"), QString::number(place.x()));
    EXPECT_EQ(Stored("PC_Test", "WindowY"), QString::number(place.y()));
  }
  EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(BarMouse, APlaceThatCannotBeStoredIsReported) {
  testing_support::TempFolders::writeFile(folders().libraryFolder() + "Words.ini", "[Normal]\r\n");
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders().libraryFolder());
    DragTo(*bar().Pic_ShowText, QPoint(210, 90));
    bar().DisplayBox_MouseMove(*bar().Pic_ShowText, 0, 0, 10, 500);
  }
  ASSERT_EQ(dialogs().messages.size(), 1U);
  EXPECT_EQ(dialogs().messages[0].text, "Error!");
  EXPECT_EQ(QPoint(g_WindowX, g_WindowY), QPoint(210, 90));  // memory keeps the place the window has
}

TEST_F(BarMouse, RestingOnABoxPausesTheCycleAndLeavingRestartsItUnlessHeld) {
  struct Case {
    bool resize;
    bool wait;
    double hoveredTextWidth;  // twips; the bar is 432 pixels wide
    bool cycleRunsAfterwards;
  };
  for (const Case& c : {Case{false, false, 6480, true}, Case{true, false, 6390, true}, Case{true, true, 6390, false}}) {
    SCOPED_TRACE(testing::Message() << "resize " << c.resize << " wait " << c.wait);
    g_ShowResize = c.resize;
    g_Wait = c.wait;
    bar().Tim_Wait->setEnabled(!c.wait);
    auto& box = *bar().Pic_ShowPhonetic;

    bar().DisplayBox_MouseMove(box, 0, 0, 431, 0);  // the right end of the bar is still on it
    EXPECT_FALSE(bar().Tim_Wait->enabled());
    EXPECT_EQ(bar().Pic_ShowText->twips().width(), c.hoveredTextWidth);
    EXPECT_EQ(platform::GetCapture(), &box);  // it sees the pointer go wherever it goes

    bar().DisplayBox_MouseMove(box, 0, 0, 433, 0);
    EXPECT_EQ(bar().Tim_Wait->enabled(), c.cycleRunsAfterwards);
    EXPECT_EQ(bar().Pic_ShowText->twips().width(), 6480);
    EXPECT_EQ(platform::GetCapture(), nullptr);
  }
}

TEST_F(BarMouse, TheRightEdgeResizesByTheDistanceMovedAndNeverBelowTheStatusBoxes) {
  struct Case {
    int width;
    int pressX;
    int releaseX;
    int expected;
  };
  // The logo, the segment box and the counter take 88 pixels.
  for (const Case& c : {Case{432, 426, 476, 482}, Case{432, 426, 326, 332}, Case{432, 426, 0, 88},
                        Case{100, 95, -500, 88}, Case{88, 85, 84, 88}}) {
    SCOPED_TRACE(testing::Message() << c.width << " from " << c.pressX << " to " << c.releaseX);
    g_WindowW = static_cast<std::int16_t>(c.width);
    bar().Form_MouseDown(platform::kLeftButton, 0, c.pressX * 15.0, 0);
    bar().Form_MouseUp(platform::kLeftButton, 0, c.releaseX * 15.0, 0);
    EXPECT_EQ(g_WindowW, c.expected);
    EXPECT_EQ(Stored("Normal", "WindowW"), QString::number(c.expected));
    EXPECT_EQ(bar().width(), c.expected);
  }
}

}  // namespace
