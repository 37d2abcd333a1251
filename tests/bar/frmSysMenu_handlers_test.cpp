// The tray menu's handlers on a loaded bar: the radio groups move their check mark, store their
// value and change their shared value; the Show toggles flip; colours come from the colour dialog;
// a failed settings write is told once; Exit with and without a command line; the about box.
#include "bar/SkolvaneBar.h"
#include "bar/about_box_hook.h"
#include "bar/frmAbout.h"
#include "bar/frmSysMenu.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "core/segments_bas.h"
#include "core/settings_load_bas.h"
#include "core/window_effects_bas.h"
#include "libraries/frmManager.h"
#include "progress/charts/frmStatisticsA.h"
#include "progress/charts/frmStatisticsG.h"
#include "platform/forms/win_color.h"
#include "platform/ini/ini.h"
#include "tests/support/hotkey_fixture.h"
#include "tests/support/read_only_folder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>

#include <functional>
#include <iostream>
#include <vector>

namespace {

using testing_support::HotKeyFixture;
using testing_support::TempFolders;
using Member = frmSysMenu::Item frmSysMenu::*;

class SysMenuHandlers : public HotKeyFixture {
 protected:
  void SetUp() override {
    HotKeyFixture::SetUp();
    TempFolders::writeFile(folders_.programFolder() + "LANG_C.dat",
                           LanguageFile("mnuSysTrayInterval_C=Every 3 s\r\n"
                                        "mnuSysTrayMode1_C=Reciting\r\n"
                                        "mnuSysTraySegSize_C=Groups of 90\r\n"
                                        "mnuSysTrayPercent_A=Target\r\n"
                                        "mnuSysTrayShowMeaningRows_C=Three rows\r\n"
                                        "mnuSysTrayColor=Colours\r\n"
                                        "mnuSysTrayColor_A=Colours (chameleon)\r\n"
                                        "mnuSysTrayColor_B=Colours (translucent)\r\n"
                                        "Msg_SettingsWriteFailed=Not saved: %1\r\n"));
    WriteAndLoadNumberedLibrary(200);
    menu_ = &frmSysMenu::instance();
  }
  void TearDown() override {
    frmAbout::unload();
    frmManager::unload();
    HotKeyFixture::TearDown();
  }

  frmSysMenu& menu() { return *menu_; }
  platform::MenuItem* ItemOf(const QAction* action) {
    for (QObject* control : menu().controls()) {
      auto* candidate = qobject_cast<platform::MenuItem*>(control);
      if (candidate != nullptr && candidate->action() == action) return candidate;
    }
    return nullptr;
  }
  platform::MenuItem* item(Member member) { return menu().*member; }
  void click(Member member) { item(member)->click(); }

  frmSysMenu* menu_ = nullptr;
};

struct RadioCase {
  const char* name;
  Member first;  // clicked before: its check mark must move to `chosen`
  Member chosen;
  const char* key;
  const char* stored;
  Member parent;
  const char* parentCaption;  // nullptr: the group leaves its parent's caption alone
  std::function<bool()> globalHolds;
};

TEST_F(SysMenuHandlers, RadioGroupsMoveTheCheckStoreTheValueAndSetTheirValue) {
  UseFixedSegments("30", "0001");
  const std::vector<RadioCase> cases = {
      {"interval", &frmSysMenu::mnuSysTrayInterval05, &frmSysMenu::mnuSysTrayInterval03, "WordSpeed", "3",
       &frmSysMenu::mnuSysTrayInterval, "Every 3 s",
       [&] { return g_Speed == 3000 && bar_->Tim_Wait->interval() == 3000; }},
      {"learn mode", &frmSysMenu::mnuSysTrayMode100, &frmSysMenu::mnuSysTrayMode102, "WordLearnMode", "2",
       &frmSysMenu::mnuSysTrayMode1, "Reciting", [] { return g_LearnMode == 2; }},
      {"segment size", &frmSysMenu::mnuSysTraySegSize30, &frmSysMenu::mnuSysTraySegSize90, "WordSegmentSize", "90",
       &frmSysMenu::mnuSysTraySegSize, "Groups of 90",
       [] { return g_SegmentSize == "90" && g_SegmentLines.size() == 90; }},  // rebuilt at once
      {"target rate", &frmSysMenu::mnuSysTrayPercent33, &frmSysMenu::mnuSysTrayPercent66, "WordTargetPercentage",
       "66", &frmSysMenu::mnuSysTrayPercent, "Target [66%]", [] { return g_TargetPercentage == "66"; }},
      {"meaning rows", &frmSysMenu::mnuSysTrayShowMeaningRow01, &frmSysMenu::mnuSysTrayShowMeaningRow03,
       "WordMeaningRows", "3", &frmSysMenu::mnuSysTrayShowMeaningRows, "Three rows",
       [] { return g_MeaningRows == 3; }},
      {"meaning size", &frmSysMenu::mnuSysTrayShowLongMeaningPercentA,
       &frmSysMenu::mnuSysTrayShowLongMeaningPercentH, "WordMeaningBarPercent", "50", nullptr, nullptr,
       [] { return g_MeaningBarPercent == 50; }},
  };
  for (const RadioCase& c : cases) {
    SCOPED_TRACE(c.name);
    click(c.first);
    AdvanceClock(std::chrono::seconds(2));  // past the learn-mode switch's once-a-second rule
    ASSERT_TRUE(item(c.first)->checked());
    click(c.chosen);
    EXPECT_TRUE(item(c.chosen)->checked());
    EXPECT_FALSE(item(c.first)->checked());
    EXPECT_EQ(NormalSetting(c.key), c.stored);
    if (c.parent != nullptr) {
      EXPECT_EQ(item(c.parent)->caption(), c.parentCaption);
    }
    EXPECT_TRUE(c.globalHolds());
  }
}

TEST_F(SysMenuHandlers, ACheckedModeItemDoesNothingWhileACheckedIntervalWritesAgain) {
  click(&frmSysMenu::mnuSysTrayMode102);
  click(&frmSysMenu::mnuSysTrayInterval03);
  platform::WriteProfileString(LibrarySettingsFile(), "Normal", "WordLearnMode", "0");
  platform::WriteProfileString(LibrarySettingsFile(), "Normal", "WordSpeed", "7");

  click(&frmSysMenu::mnuSysTrayMode102);
  QElapsedTimer written;
  written.start();
  click(&frmSysMenu::mnuSysTrayInterval03);
  std::cout << "[ figure ] Interval item to settings file written, in process: " << written.nsecsElapsed() / 1000
            << " us\n";
  EXPECT_EQ(NormalSetting("WordLearnMode"), "0");
  EXPECT_EQ(NormalSetting("WordSpeed"), "3");
}

TEST_F(SysMenuHandlers, ShowTogglesFlipTheirFlagAndCheckMark) {
  // The Show submenu opens with its toggles, each stored under "Word" + its own name. (The
  // tenth, the picture row, is switched off again by the layout for a library without a cover.)
  const QList<QAction*> actions = menu().mnuSysTrayShow->menu()->actions();
  for (int i = 0; i < 9; ++i) {
    platform::MenuItem* toggle = ItemOf(actions[i]);
    ASSERT_NE(toggle, nullptr);
    const QString key = "Word" + toggle->objectName().mid(QStringLiteral("mnuSysTray").size());
    SCOPED_TRACE(key.toStdString());
    const bool before = toggle->checked();
    toggle->click();
    EXPECT_EQ(toggle->checked(), !before);
    EXPECT_EQ(NormalSetting(key), before ? "" : "X");
    toggle->click();
    EXPECT_EQ(toggle->checked(), before);
    EXPECT_EQ(NormalSetting(key), before ? "X" : "");
  }
  g_ShowStatus = false;
  menu().mnuSysTrayShowStatus->setChecked(false);
  click(&frmSysMenu::mnuSysTrayShowStatus);
  EXPECT_TRUE(g_ShowStatus);
  EXPECT_EQ(g_StatusRows, 1);
}

TEST_F(SysMenuHandlers, ColoursComeFromTheDialogAndACancelChangesNothing) {
  const std::int32_t foreBefore = g_ForeColor;
  dialogs_->colorReply.reset();
  click(&frmSysMenu::mnuSysTrayColorF);
  EXPECT_EQ(g_ForeColor, foreBefore);
  EXPECT_EQ(NormalSetting("WordForeColor"), "Error");

  platform::CustomColors defined{};
  defined.fill(Qt::black);
  defined[0] = Qt::red;
  dialogs_->colorCustomReply = defined;
  dialogs_->colorReply = QColor(Qt::white);
  click(&frmSysMenu::mnuSysTrayColorB);
  EXPECT_EQ(g_BackColor, 16777215);
  EXPECT_EQ(TempFolders::readFile(LibrarySettingsFile()).contains("WordBackColor= 16777215"), true);
  EXPECT_EQ(bar_->Pic_ShowLongMeaning->backColor(), QColor(Qt::white));
  EXPECT_EQ(dialogs_->colorCustomOffered[0], QColor(Qt::black));  // all black when the form loads

  dialogs_->colorCustomReply.reset();
  dialogs_->colorReply = QColor(0x12, 0x34, 0x56);
  click(&frmSysMenu::mnuSysTrayColorF);
  EXPECT_EQ(dialogs_->colorCustomOffered[0], QColor(Qt::black));  // what the learner defined is not kept
  EXPECT_EQ(NormalSetting("WordForeColor"), QString::number(0x563412));
  EXPECT_EQ(bar_->Pic_ShowPhonetic->foreColor(), QColor(0x12, 0x34, 0x56));

  click(&frmSysMenu::mnuSysTrayColorTrans);
  EXPECT_TRUE(g_Transparent);
  EXPECT_EQ(menu().mnuSysTrayColor->caption(), "Colours (translucent)");
  click(&frmSysMenu::mnuSysTrayColorTrans);
  EXPECT_EQ(NormalSetting("WordTransparent"), "");
  EXPECT_EQ(menu().mnuSysTrayColor->caption(), "Colours");
}

// What the colour dialog showed when it opened.
struct ColourDialogOpening {
  QColor current;
  std::vector<QColor> custom;
};

// Answers the next colour dialog as the learner does: notes what it opened on, adds `pick` to the
// custom colours and chooses it.
void AnswerColourDialog(std::vector<ColourDialogOpening>& openings, const QColor& pick) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, &openings, pick] {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    poll->deleteLater();
    ColourDialogOpening opening{dialog->currentColor(), {}};
    for (int slot = 0; slot < QColorDialog::customCount(); ++slot) opening.custom.push_back(QColorDialog::customColor(slot));
    openings.push_back(opening);
    dialog->setCurrentColor(pick);
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->text().contains(QStringLiteral("Custom"))) button->click();
    }
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  poll->start(10);
}

TEST_F(SysMenuHandlers, TheColourDialogOpensOnBlackWithAFreshBlackCustomTableEveryTime) {
  platform::SetDialogProvider(nullptr);  // the real dialog
  std::vector<ColourDialogOpening> openings;
  AnswerColourDialog(openings, QColor(200, 0, 0));
  click(&frmSysMenu::mnuSysTrayColorF);
  AnswerColourDialog(openings, QColor(0, 0, 200));
  click(&frmSysMenu::mnuSysTrayColorB);
  platform::SetDialogProvider(std::make_unique<testing_support::RecordingDialogs>());

  EXPECT_EQ(bar_->Pic_ShowText->foreColor(), QColor(200, 0, 0));
  EXPECT_EQ(bar_->Pic_ShowText->backColor(), QColor(0, 0, 200));
  ASSERT_EQ(openings.size(), 2u);
  for (const ColourDialogOpening& opening : openings) {
    EXPECT_EQ(opening.current, QColor(Qt::black));
    EXPECT_EQ(opening.custom, std::vector<QColor>(16, QColor(Qt::black)));  // the red added first is gone
  }
}

struct ColourEffectCase {
  const char* name;
  std::vector<Member> clicks;  // in this order
  bool chameleon;
  bool translucent;
  const char* caption;
};

TEST_F(SysMenuHandlers, SwitchingOneColourEffectOnEndsTheOtherAndAColourChoiceEndsTheChameleon) {
  dialogs_->colorReply = QColor(0x10, 0x20, 0x30);
  const std::vector<ColourEffectCase> cases = {
      {"chameleon after translucency", {&frmSysMenu::mnuSysTrayColorTrans, &frmSysMenu::mnuSysTrayColorNull}, true,
       false, "Colours (chameleon)"},
      {"translucency after chameleon", {&frmSysMenu::mnuSysTrayColorNull, &frmSysMenu::mnuSysTrayColorTrans}, false,
       true, "Colours (translucent)"},
      {"back colour while chameleon", {&frmSysMenu::mnuSysTrayColorNull, &frmSysMenu::mnuSysTrayColorB}, false, false,
       "Colours"},
      {"text colour while translucent", {&frmSysMenu::mnuSysTrayColorTrans, &frmSysMenu::mnuSysTrayColorF}, false,
       true, "Colours (translucent)"},
      {"each effect off again", {&frmSysMenu::mnuSysTrayColorNull, &frmSysMenu::mnuSysTrayColorNull,
        &frmSysMenu::mnuSysTrayColorTrans, &frmSysMenu::mnuSysTrayColorTrans}, false, false, "Colours"},
  };
  for (const ColourEffectCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Both effects off, as a fresh library starts.
    if (g_ColorNull) click(&frmSysMenu::mnuSysTrayColorNull);
    if (g_Transparent) click(&frmSysMenu::mnuSysTrayColorTrans);
    for (const Member clicked : c.clicks) click(clicked);
    // Marks, values, stored keys and effects agree.
    EXPECT_EQ(g_ColorNull, c.chameleon);
    EXPECT_EQ(menu().mnuSysTrayColorNull->checked(), c.chameleon);
    EXPECT_EQ(NormalSetting("WordColorNull"), c.chameleon ? "X" : "");
    EXPECT_EQ(g_Transparent, c.translucent);
    EXPECT_EQ(menu().mnuSysTrayColorTrans->checked(), c.translucent);
    EXPECT_EQ(NormalSetting("WordTransparent"), c.translucent ? "X" : "");
    EXPECT_EQ(BarAlpha() < 255, c.translucent);
    EXPECT_EQ(menu().mnuSysTrayColor->caption(), c.caption);
    if (!c.chameleon) {
      // The rows show the colours last chosen, not a sample of the screen.
      EXPECT_EQ(bar_->Pic_ShowLongMeaning->backColor(), platform::FromWinColor(g_BackColor));
      EXPECT_EQ(bar_->Pic_ShowText->foreColor(), platform::FromWinColor(g_ForeColor));
    }
  }
}

struct SegmentModeCase {
  const char* name;
  bool groupsBefore;
  std::function<void()> change;
  bool groupsAfter;
};

TEST_F(SysMenuHandlers, TheTypeSubmenuShowsTheSegmentModeHoweverItChanged) {
  const std::vector<SegmentModeCase> cases = {
      {"F10 to groups", false, [] { OnHotKeySegmentMode(); }, true},
      {"F10 to the whole library", true, [] { OnHotKeySegmentMode(); }, false},
      {"groups chosen", false, [&] { click(&frmSysMenu::mnuSysTrayGroup); }, true},
      {"whole library chosen", true, [&] { click(&frmSysMenu::mnuSysTrayALL); }, false},
      {"groups chosen in group mode", true, [&] { click(&frmSysMenu::mnuSysTrayGroup); }, true},
      {"whole library chosen in whole-library mode", false, [&] { click(&frmSysMenu::mnuSysTrayALL); }, false},
      {"a settings load of group mode", false,
       [] {
         platform::WriteProfileString(LibrarySettingsFile(), "Normal", "WordDoSegment", "X");
         LoadSettings();
       },
       true},
  };
  for (const SegmentModeCase& c : cases) {
    SCOPED_TRACE(c.name);
    // The mode before, with marks that show the other one: the items act on the bar's mode.
    AdvanceClock(std::chrono::seconds(2));  // past the once-a-second rule
    if (g_DoSegment != c.groupsBefore) OnHotKeySegmentMode();
    ASSERT_EQ(g_DoSegment, c.groupsBefore);
    menu().mnuSysTrayALL->setChecked(c.groupsBefore);
    menu().mnuSysTrayGroup->setChecked(!c.groupsBefore);
    AdvanceClock(std::chrono::seconds(2));

    c.change();
    AdvanceClock(std::chrono::seconds(2));
    EXPECT_EQ(g_DoSegment, c.groupsAfter);
    EXPECT_EQ(NormalSetting("WordDoSegment"), c.groupsAfter ? "X" : "");
    menu().mnuSysTrayType->click();  // the submenu opens
    EXPECT_EQ(menu().mnuSysTrayALL->checked(), !c.groupsAfter);
    EXPECT_EQ(menu().mnuSysTrayGroup->checked(), c.groupsAfter);
    EXPECT_EQ(menu().mnuSysTrayGame->enabled(), c.groupsAfter);
  }
}

TEST_F(SysMenuHandlers, AFailedWriteIsToldOnceNamingTheFileAndTheChangeStays) {
  testing_support::ScopedReadOnlyFolder readOnly(folders_.libraryFolder());
  click(&frmSysMenu::mnuSysTrayInterval04);
  click(&frmSysMenu::mnuSysTrayPercent90);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Not saved: " + LibrarySettingsFile());
  EXPECT_EQ(g_Speed, 4000);
  EXPECT_EQ(g_TargetPercentage, "90");
  EXPECT_TRUE(menu().mnuSysTrayPercent90->checked());
}

TEST_F(SysMenuHandlers, ExitWithACommandLineUnloadsEveryWindow) {
  g_CommandLine = '"' + g_LibraryPath + '"';
  frmAbout::instance();
  click(&frmSysMenu::mnuSysTrayExit);
  EXPECT_FALSE(SkolvaneBar::loaded());
  EXPECT_FALSE(frmSysMenu::loaded());
  EXPECT_FALSE(frmAbout::loaded());
  EXPECT_FALSE(frmManager::loaded());
  EXPECT_FALSE(platform::AnyFormLoaded());
  platform::DeleteUnloadedForms();
}

TEST_F(SysMenuHandlers, ExitWithoutACommandLineBringsTheManagerBack) {
  g_CommandLine.clear();
  frmAbout::instance();
  click(&frmSysMenu::mnuSysTrayExit);
  EXPECT_FALSE(SkolvaneBar::loaded());
  ASSERT_TRUE(frmManager::loaded());
  EXPECT_TRUE(frmManager::instance().isVisible());
  EXPECT_TRUE(frmSysMenu::loaded());  // kept, hidden, for the next bar
  EXPECT_TRUE(frmAbout::loaded());

  // The next bar's settings give the kept menu its check marks, and only those.
  click(&frmSysMenu::mnuSysTrayInterval03);
  platform::WriteProfileString(LibrarySettingsFile(), "Normal", "WordSpeed", "5");
  SkolvaneBar::instance();
  EXPECT_TRUE(menu().mnuSysTrayInterval05->checked());
  EXPECT_FALSE(menu().mnuSysTrayInterval03->checked());
}

TEST_F(SysMenuHandlers, TheAboutBoxShowsTheRevisionOnceEachTimeAndClosesOnAClick) {
  for (int showing = 0; showing < 2; ++showing) {
    QString title;
    QTimer::singleShot(0, [&] {
      title = frmAbout::instance().Text1[0]->text();
      frmAbout::instance().Text1_Click(2);
    });
    ShowAboutBox();
    EXPECT_EQ(title, "Corvel's Lexorn Version 2.0.13");
    EXPECT_FALSE(frmAbout::loaded());
  }
}

TEST_F(SysMenuHandlers, TheStateItemOpensTheChartOfTheSegmentMode) {
  for (const bool segments : {false, true}) {
    SCOPED_TRACE(segments ? "segments" : "whole library");
    g_DoSegment = segments;
    PrepareSegment(false);
    bool allWords = false;
    bool bySegment = false;
    QTimer::singleShot(0, [&] {
      allWords = frmStatisticsA::loaded();
      bySegment = frmStatisticsG::loaded();
      frmStatisticsA::unload();
      frmStatisticsG::unload();
    });
    click(&frmSysMenu::mnuSysTrayState);
    EXPECT_EQ(allWords, !segments);
    EXPECT_EQ(bySegment, segments);
  }
}

TEST_F(SysMenuHandlers, OpeningTheShowSubmenuWithoutACoverSwitchesThePictureRowOff) {
  g_ShowPicture = true;
  menu().mnuSysTrayShowPicture->setChecked(true);
  menu().mnuSysTrayShow->click();
  EXPECT_FALSE(g_ShowPicture);
  EXPECT_FALSE(menu().mnuSysTrayShowPicture->checked());
  EXPECT_FALSE(menu().mnuSysTrayShowPicture->enabled());
  EXPECT_EQ(NormalSetting("WordShowPicture"), "");

  menu().mnuSysTrayALL->setChecked(true);
  menu().mnuSysTrayGroup->setChecked(false);
  menu().mnuSysTrayType->click();
  EXPECT_FALSE(menu().mnuSysTrayGame->enabled());
}

TEST_F(SysMenuHandlers, CentringPlacesTheFittedBarInTheMiddleOfItsScreen) {
  g_ShowStatus = true;
  g_ShowPhonetic = g_ShowLongMeaning = g_ShowPicture = false;
  g_WindowW = 400;
  g_ComputerSection = "PC_test";
  click(&frmSysMenu::mnuSysTrayShowMainCenter);
  const QRect screen = bar_->screen()->geometry();
  const int height = bar_->Pic_ShowText->twips().height() / 15 + 13;
  EXPECT_NEAR(g_WindowX, screen.x() + (screen.width() - 400) / 2, 1);
  EXPECT_NEAR(g_WindowY, screen.y() + (screen.height() - height) / 2, 1);
  EXPECT_EQ(ReadLibraryValue(g_ComputerSection, "WindowY"), QString::number(g_WindowY));
}

}  // namespace
