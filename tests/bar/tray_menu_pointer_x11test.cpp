// The tray menu on a real X server, as the learner uses it: F10 typed through the server, the menu
// walked and chosen from with the server's pointer. The Type submenu shows the bar's mode after F10
// and "groups" chosen in group mode changes nothing; the group size chosen from the menu shows in
// the status row at once. The menu is this process's own, on the private Xvfb the end-to-end
// suite's main starts.
#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/progress_texts_bas.h"
#include "core/segments_bas.h"
#include "tests/support/hotkey_fixture.h"
#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <functional>

namespace {

using namespace testing_support;

class TrayMenuPointerTest : public HotKeyFixture {
 protected:
  void SetUp() override {
    HotKeyFixture::SetUp();
    TempFolders::writeFile(folders_.programFolder() + "LANG_C.dat",
                           LanguageFile({}, "Lbl_SysInfo_D=\"Segment \"\r\n"
                                            "Lbl_SysInfo_F=of\r\n"
                                            "Lbl_SysInfo_G=groups\r\n"));
    WriteAndLoadNumberedLibrary(200);
    menu_ = &frmSysMenu::instance();
  }

  static bool xdotool(const QStringList& arguments) {
    return Xdotool(qEnvironmentVariable("DISPLAY"), arguments).ok();
  }

  // Pops the tray menu up and runs `drive` while it is open; closes what is still open after
  // eight seconds, so a failing drive cannot hang the test.
  void popUpAndDrive(const std::function<void()>& drive) {
    QTimer driver;
    QTimer fallback;
    QObject::connect(&driver, &QTimer::timeout, drive);
    QObject::connect(&fallback, &QTimer::timeout, [] {
      while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    driver.setSingleShot(true);
    fallback.setSingleShot(true);
    driver.start(0);
    fallback.start(8000);
    menu_->mnuSysTray->popup(QPoint(40, 40));
  }

  // Moves the pointer onto `item` in the open `menu` (no button held) and, for a submenu, waits
  // until it is open.
  static bool pointAt(QMenu& menu, const platform::MenuItem& item) {
    if (!WaitUntil([&] { return menu.isVisible(); }, 3s)) return false;
    const QPoint at = menu.mapToGlobal(menu.actionGeometry(item.action()).center());
    if (!xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())})) return false;
    if (item.menu() == nullptr) return WaitUntil([&] { return menu.activeAction() == item.action(); }, 3s);
    return WaitUntil([&] { return item.menu()->isVisible(); }, 3s);
  }

  // Clicks `item` in the open `menu`; false when the menu did not close.
  static bool choose(QMenu& menu, const platform::MenuItem& item) {
    return pointAt(menu, item) && xdotool({"click", "1"}) &&
           WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }, 3s);
  }

  frmSysMenu& menu() { return *menu_; }

  frmSysMenu* menu_ = nullptr;
};

TEST_F(TrayMenuPointerTest, AfterF10TheTypeSubmenuShowsTheModeAndGroupsChangesNothing) {
  ASSERT_FALSE(g_DoSegment);
  AdvanceClock(std::chrono::seconds(2));
  ASSERT_TRUE(xdotool({"key", "F10"}));
  ASSERT_TRUE(WaitUntil([] { return g_DoSegment; }, 3s)) << "F10 did not reach the bar";
  AdvanceClock(std::chrono::seconds(2));

  bool allChecked = true;
  bool groupChecked = false;
  bool gameEnabled = false;
  bool chosen = false;
  popUpAndDrive([&] {
    ASSERT_TRUE(pointAt(*menu().mnuSysTray->menu(), *menu().mnuSysTrayType));
    QMenu& type = *menu().mnuSysTrayType->menu();
    allChecked = menu().mnuSysTrayALL->action()->isChecked();
    groupChecked = menu().mnuSysTrayGroup->action()->isChecked();
    gameEnabled = menu().mnuSysTrayGame->action()->isEnabled();
    chosen = choose(type, *menu().mnuSysTrayGroup);
  });
  EXPECT_FALSE(allChecked);
  EXPECT_TRUE(groupChecked);
  EXPECT_TRUE(gameEnabled);
  ASSERT_TRUE(chosen);
  // "Groups" in group mode: still groups, still stored so, still marked so.
  EXPECT_TRUE(g_DoSegment);
  EXPECT_EQ(NormalSetting("WordDoSegment"), "X");
  EXPECT_TRUE(menu().mnuSysTrayGroup->checked());
  EXPECT_FALSE(menu().mnuSysTrayALL->checked());

  // F10 back to the whole library: the game is offered no more.
  ASSERT_TRUE(xdotool({"key", "F10"}));
  ASSERT_TRUE(WaitUntil([] { return !g_DoSegment; }, 3s));
  popUpAndDrive([&] {
    ASSERT_TRUE(pointAt(*menu().mnuSysTray->menu(), *menu().mnuSysTrayType));
    allChecked = menu().mnuSysTrayALL->action()->isChecked();
    groupChecked = menu().mnuSysTrayGroup->action()->isChecked();
    gameEnabled = menu().mnuSysTrayGame->action()->isEnabled();
    menu().mnuSysTray->menu()->close();
  });
  EXPECT_TRUE(allChecked);
  EXPECT_FALSE(groupChecked);
  EXPECT_FALSE(gameEnabled);
}

TEST_F(TrayMenuPointerTest, TheGroupSizeChosenFromTheMenuShowsInTheStatusRowAtOnce) {
  UseFixedSegments("30", "0001");
  PrepareSegment(false);
  menu().mnuSysTraySegSize30->setChecked(true);
  RefreshInfoLabels();
  ASSERT_EQ(bar_->Lbl_SysInfo->caption(), "Segment 0% 0/30 of 7 groups");

  bool chosen = false;
  popUpAndDrive([&] {
    ASSERT_TRUE(pointAt(*menu().mnuSysTray->menu(), *menu().mnuSysTrayType));
    ASSERT_TRUE(pointAt(*menu().mnuSysTrayType->menu(), *menu().mnuSysTraySegSize));
    chosen = choose(*menu().mnuSysTraySegSize->menu(), *menu().mnuSysTraySegSize60);
  });
  ASSERT_TRUE(chosen);
  EXPECT_EQ(NormalSetting("WordSegmentSize"), "60");
  EXPECT_EQ(bar_->Lbl_SysInfo->caption(), "Segment 0% 0/60 of 4 groups");
}

}  // namespace
