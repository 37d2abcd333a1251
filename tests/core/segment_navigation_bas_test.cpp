#include "core/segment_navigation_bas.h"

#include "bar/frmSysMenu.h"
#include "tests/support/hotkey_fixture.h"
#include "tests/support/read_only_folder.h"

#include "tests/support/scoped_application_name.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

class SegmentNavigationTest : public testing_support::HotKeyFixture {
 protected:
  // `lines` word lines cut into fixed segments of `size`, at segment `number`.
  void UseSegments(int lines, const QString& size, const QString& number) {
    WriteAndLoadNumberedLibrary(lines);
    UseFixedSegments(size, number);
    PrepareSegment(false);
  }
};


TEST_F(SegmentNavigationTest, StepsKeepFourDigitsAndStoreTheNumber) {
  UseSegments(120, "10", "0009");
  g_CyclePos = 7;
  NextSegment(true);
  EXPECT_EQ(g_SegmentNo, "0010");
  EXPECT_EQ(NormalSetting("WordSegmentNo"), "0010");
  EXPECT_EQ(g_SegmentLines.front().text, "w91@x91") << "the new segment was cut";
  EXPECT_EQ(g_CyclePos, 1);
  EXPECT_TRUE(bar_->Tim_Wait->enabled());
  EXPECT_FALSE(g_SegmentRebuilt);

  UseSegments(1000, "10", "0100");
  PrevSegment(true);
  EXPECT_EQ(g_SegmentNo, "0099");
  EXPECT_EQ(NormalSetting("WordSegmentNo"), "0099");
  EXPECT_TRUE(dialogs_->messages.empty());
}

TEST_F(SegmentNavigationTest, AtTheFirstAndLastSegmentOnlyThePositionChanges) {
  UseSegments(6, "2", "0001");
  bar_->Tim_Wait->setEnabled(false);
  g_CyclePos = 2;
  PrevSegment(true);
  EXPECT_EQ(g_SegmentNo, "0001");
  EXPECT_EQ(NormalSetting("WordSegmentNo"), "Error") << "nothing written";
  EXPECT_FALSE(bar_->Tim_Wait->enabled()) << "nothing started";
  EXPECT_EQ(g_CyclePos, 1);

  UseSegments(6, "2", "0003");
  g_CyclePos = 2;
  NextSegment(true);
  EXPECT_EQ(g_SegmentNo, "0003");
  EXPECT_EQ(NormalSetting("WordSegmentNo"), "Error");
  EXPECT_EQ(g_CyclePos, 1);
}

TEST_F(SegmentNavigationTest, ChangeWithoutFitKeepsTheNextChangesCycle) {
  UseSegments(8, "2", "0001");
  NextSegment(false);  // as the tray menu's group item hands over
  EXPECT_TRUE(g_SegmentRebuilt);
  EXPECT_EQ(g_SegmentLines.front().text, "w3@x3");

  NextSegment(true);  // stored, but the cycle of segment 2 is kept
  EXPECT_EQ(g_SegmentNo, "0003");
  EXPECT_EQ(NormalSetting("WordSegmentNo"), "0003");
  EXPECT_EQ(g_SegmentLines.front().text, "w3@x3");
  EXPECT_FALSE(g_SegmentRebuilt);
  EXPECT_TRUE(bar_->Tim_Wait->enabled());

  NextSegment(true);  // and the one after it rebuilds
  EXPECT_EQ(g_SegmentNo, "0004");
  EXPECT_EQ(g_SegmentLines.front().text, "w7@x7");
}

TEST_F(SegmentNavigationTest, GroupStepNamesTheNewGroupAlsoWhenTheCycleIsKept) {
  UseGroups("0001");
  WriteAndLoadLibrary({"{AC}", "<Fruit>", "apple@1", "<Tools>", "saw@2", "hammer@3"});
  PrepareSegment(false);
  g_SegmentRebuilt = true;
  NextSegment(true);
  EXPECT_EQ(g_SegmentNo, "0002");
  EXPECT_EQ(g_GroupName, "<Tools>");
  EXPECT_EQ(g_SegmentLines.front().text, "apple@1") << "kept";

  NextSegment(true);  // the last group
  EXPECT_EQ(g_SegmentNo, "0002");
  PrevSegment(true);
  EXPECT_EQ(g_GroupName, "<Fruit>");
}

TEST_F(SegmentNavigationTest, FailedWriteIsShownAndTheStepGoesOn) {
  UseSegments(6, "2", "0001");
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders_.libraryFolder());
    NextSegment(true);
  }
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Error!");
  EXPECT_EQ(g_IniResult, 0);
  EXPECT_EQ(g_SegmentNo, "0002");
  EXPECT_EQ(g_SegmentLines.front().text, "w3@x3");
}

TEST_F(SegmentNavigationTest, ToggleStoresTheModeAndCaptionsTheMenu) {
  UseSegments(40, "30", "0001");
  ToggleSegmentMode(true);
  EXPECT_FALSE(g_DoSegment);
  EXPECT_EQ(NormalSetting("WordDoSegment"), "");
  EXPECT_EQ(frmSysMenu::instance().mnuSysTrayType->caption(), "All 0040 lines");
  EXPECT_EQ(g_SegmentLines.size(), 40u);

  ToggleSegmentMode(false);
  EXPECT_TRUE(g_DoSegment);
  EXPECT_EQ(NormalSetting("WordDoSegment"), "X");
  EXPECT_EQ(frmSysMenu::instance().mnuSysTrayType->caption(), "Segment 0001/0002 done");
  EXPECT_TRUE(g_SegmentRebuilt);
}

TEST_F(SegmentNavigationTest, TextReaderEditionUsesItsOwnKeysAndToolTips) {
  testing_support::ScopedApplicationName edition("CorvelTextReader");
  UseSegments(6, "2", "0001");
  NextSegment(true);
  EXPECT_EQ(NormalSetting("TextSegmentNo"), "0002");
  EXPECT_EQ(NormalSetting("WordSegmentNo"), "Error");
  EXPECT_EQ(bar_->logo[0]->toolTip(), TextReaderEditionTitle() + ": " + g_LibraryPath);
  EXPECT_EQ(bar_->Pic_SegNo->toolTip(), "");

  ToggleSegmentMode(true);
  EXPECT_EQ(NormalSetting("TextDoSegment"), "");
  EXPECT_EQ(NormalSetting("WordDoSegment"), "Error");
}

}  // namespace
