#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/read_ini_bas.h"
#include "core/settings_load_bas.h"
#include "core/vars_bas.h"
#include "core/window_effects_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "progress/game/frmCampaignButton.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <string>

#include <QGuiApplication>
#include <QScreen>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

using testing_support::TempFolders;

class SettingsLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders.programFolder());
    g_LibraryFolder = folders.libraryFolder();
    g_LibraryFileName = "Words.abc";
    g_ComputerSection = "PC_test";
    g_MeaningRows = 1;
  }
  void TearDown() override {
    platform::UnloadAllForms();
    platform::SetProgramFolder({});
  }
  void setLibrary(const QString& key, const QString& value, const QString& section = "Normal") {
    platform::WriteProfileString(folders.libraryFolder() + "Words.ini", section, key, value);
  }
  void setProgram(const QString& key, const QString& value) {
    platform::WriteProfileString(folders.programFolder() + "Settings.ini", "Global", key, value);
  }
  QString libraryValue(const QString& key) {
    return platform::ReadProfileString(folders.libraryFolder() + "Words.ini", "Normal", key, "Error");
  }

  TempFolders folders;
  testing_support::ScopedRecordingDialogs dialogs;
};

TEST_F(SettingsLoad, MeaningRowsOutsideOneToTenTakeTheNearest) {
  const std::vector<std::pair<QString, int>> cases{{"0", 1}, {"-5", 1}, {"99", 10}, {"4", 4}, {"x", 1}};
  for (const auto& [stored, rows] : cases) {
    setLibrary("WordMeaningRows", stored);
    LoadSettings();
    EXPECT_EQ(g_MeaningRows, rows) << stored.toStdString();
  }
}

TEST_F(SettingsLoad, EmptyFilesGiveTheDefaultsAndWriteTheMarkerKeys) {
  LoadSettings();
  frmSysMenu& menu = frmSysMenu::instance();
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();

  EXPECT_EQ(g_UILanguage, "C");
  EXPECT_TRUE(menu.mnuSysTrayLanguageC->checked());
  EXPECT_EQ(g_LearnMode, 1);
  EXPECT_TRUE(menu.mnuSysTrayMode101->checked());
  EXPECT_EQ(g_Speed, 1000);
  EXPECT_TRUE(menu.mnuSysTrayInterval01->checked());
  EXPECT_EQ(g_WindowW, 432);
  EXPECT_EQ(g_WindowX, screen.width() - 480);
  EXPECT_EQ(g_WindowY, screen.height() - 45);
  EXPECT_EQ(g_ColorSampleX, g_WindowX);
  EXPECT_EQ(g_SoundMode, "1");
  EXPECT_TRUE(menu.mnuSysTraySSound->checked());
  EXPECT_EQ(g_SegmentNo, "0001");
  EXPECT_EQ(g_SegmentSize, "30");
  EXPECT_TRUE(menu.mnuSysTraySegSize30->checked());
  EXPECT_FALSE(g_DoSegment);
  EXPECT_TRUE(menu.mnuSysTrayALL->checked());
  EXPECT_FALSE(g_ShowMain);
  EXPECT_FALSE(g_ShowStatus || g_ShowPhonetic || g_ShowCounter);
  EXPECT_EQ(g_TargetPercentage, "66");
  EXPECT_TRUE(menu.mnuSysTrayPercent66->checked());
  EXPECT_EQ(g_MeaningBarPercent, 50);
  EXPECT_TRUE(menu.mnuSysTrayShowLongMeaningPercentH->checked());
  EXPECT_EQ(g_FontSpec, "SimSun;0:9");
  EXPECT_EQ(g_MeaningRows, 1);
  EXPECT_TRUE(menu.mnuSysTrayShowMeaningRow01->checked());
  EXPECT_EQ(g_GameBestScore, "99");
  EXPECT_EQ(g_GameBestTime, "00:59:00");
  EXPECT_EQ(BarAlpha(), 255);

  EXPECT_EQ(g_PhoneticSymbolStart + g_PhoneticSymbolEnd + g_MeaningSymbolStart + g_MeaningSymbolEnd, "[]()");
  EXPECT_TRUE(g_GroupSymbolStart.isEmpty());
  EXPECT_TRUE(g_GroupSymbolEnd.isEmpty());
  EXPECT_EQ(libraryValue("WordPhoneticSymbolStart"), "[");
  EXPECT_EQ(libraryValue("WordMeaningSymbolEnd"), ")");
  EXPECT_EQ(libraryValue("WordGroupSymbolStart"), "");
}

TEST_F(SettingsLoad, TheIdentityIsTheLoginNameAndHostWhateverTheEnvironmentSaysAndTheGameShowsIt) {
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  const QString expected = QString::fromLocal8Bit(user->pw_name) + "@" + QSysInfo::machineHostName();
  const bool hadUser = qEnvironmentVariableIsSet("USER");
  const QByteArray saved = qgetenv("USER");
  for (const char* environment : {"", "someone-else", "ann@example.org"}) {
    qputenv("USER", environment);
    LoadSettings();
    EXPECT_EQ(g_UserIdentity, expected) << environment;
  }
  if (hadUser) {
    qputenv("USER", saved);
  } else {
    qunsetenv("USER");
  }
  EXPECT_EQ(frmCampaignButton::instance().Lbl_UserNameInfo->caption(), expected);
}

TEST_F(SettingsLoad, SpeechValuesXAndEmptyAreMapped) {
  setLibrary("WordSpeak", "X");
  LoadSettings();
  EXPECT_EQ(g_SoundMode, "1");
  EXPECT_TRUE(frmSysMenu::instance().mnuSysTraySSound->checked());

  setLibrary("WordSpeak", "");
  LoadSettings();
  EXPECT_EQ(g_SoundMode, "0");
  EXPECT_TRUE(frmSysMenu::instance().mnuSysTrayNoSound->checked());
}

TEST_F(SettingsLoad, IntervalsOutsideTheMenuAreKeptUnlessTheyCannotBeHeld) {
  setLibrary("WordSpeed", "15");
  LoadSettings();
  EXPECT_EQ(g_Speed, 15000);
  EXPECT_TRUE(frmSysMenu::instance().mnuSysTrayInterval10->checked());

  for (const char* unusable : {"40", "100000", "abc", "0", "-3"}) {
    setLibrary("WordSpeed", unusable);
    LoadSettings();
    EXPECT_EQ(g_Speed, 1000) << unusable;
  }
  setLibrary("WordSpeed", "3");
  LoadSettings();
  EXPECT_EQ(g_Speed, 3000);
  EXPECT_TRUE(frmSysMenu::instance().mnuSysTrayInterval03->checked());
}

TEST_F(SettingsLoad, NumbersThatAreNotNumbersOrTooLargeFallBack) {
  setLibrary("WindowW", "wide");
  setLibrary("WordLearnMode", "99999");
  setLibrary("WordMeaningRows", "70000");
  setLibrary("WordMeaningBarPercent", "2000000000");
  setLibrary("WindowX", "12.5", "PC_test");
  LoadSettings();
  EXPECT_EQ(g_WindowW, 432);
  EXPECT_EQ(g_LearnMode, 1);
  EXPECT_EQ(g_MeaningRows, 1);
  EXPECT_EQ(g_MeaningBarPercent, 50);
  EXPECT_EQ(g_WindowX, 12);  // halves go to the even neighbour
}

TEST_F(SettingsLoad, BarPlaceComesFromThisComputersSection) {
  setLibrary("WindowX", "300", "PC_test");
  setLibrary("WindowX", "999", "Normal");
  setProgram("WindowX", "700");
  setProgram("WindowY", "433.5");
  LoadSettings();
  EXPECT_EQ(g_WindowX, 300);
  EXPECT_EQ(g_WindowY, 434);
}

TEST_F(SettingsLoad, FontValueSetsTheThreeBoxes) {
  setLibrary("WordFont", "Arial;0:12");
  LoadSettings();
  SkolvaneBar& bar = SkolvaneBar::instance();
  EXPECT_DOUBLE_EQ(bar.Pic_ShowText->font().pointSizeF(), 12);
  EXPECT_EQ(bar.Pic_ShowText->font().family(), "Arial");
  EXPECT_DOUBLE_EQ(bar.Pic_ShowText->twips().height(), 288);
  EXPECT_EQ(g_TextBoxHeight, 288);
  EXPECT_DOUBLE_EQ(bar.Pic_ShowPhonetic->font().pointSizeF(), 6);
  EXPECT_DOUBLE_EQ(bar.Pic_ShowPhonetic->twips().height(), 144);
  EXPECT_DOUBLE_EQ(bar.Pic_ShowLongMeaning->font().pointSizeF(), 6);
  EXPECT_TRUE(frmSysMenu::instance().mnuSysTrayFont->caption().endsWith(" [Arial;0:12]"));

  // Without ":" only the name changes; the size stays.
  setLibrary("WordFont", "DejaVu Sans;");
  LoadSettings();
  EXPECT_EQ(bar.Pic_ShowText->font().family(), "DejaVu Sans");
  EXPECT_DOUBLE_EQ(bar.Pic_ShowText->font().pointSizeF(), 12);
  EXPECT_EQ(g_FontSpec, "DejaVu Sans;");
}

// The load's font step sizes the word and meaning boxes by the same rule as the bar's layout, so
// laying the bar out afterwards changes neither height, whatever the font, the meaning share and
// the row count.
TEST_F(SettingsLoad, FontStepAndLayoutAgreeOnBoxHeights) {
  struct Case {
    const char* font;
    std::int32_t percent;
    std::int16_t rows;
  };
  const Case cases[] = {{"Arial;0:12", 50, 1}, {"Arial;0:9.5", 100, 3}, {"Arial;0:13", 50, 7},
                        {"Arial;0:11", 100, 0}, {"Arial;0:16", 50, -2}};
  SkolvaneBar& bar = SkolvaneBar::instance();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.font) + ", " + std::to_string(c.percent) + "%, rows " + std::to_string(c.rows));
    g_MeaningBarPercent = c.percent;
    g_MeaningRows = c.rows;
    ApplyWordFontSpec(c.font);
    const double text = bar.Pic_ShowText->twips().height();
    const double meaning = bar.Pic_ShowLongMeaning->twips().height();
    EXPECT_GT(meaning, 0);
    bar.AdjustObjects();
    EXPECT_DOUBLE_EQ(bar.Pic_ShowText->twips().height(), text);
    EXPECT_DOUBLE_EQ(bar.Pic_ShowLongMeaning->twips().height(), meaning);
  }
}

TEST_F(SettingsLoad, GameScoreIsSplitByPosition) {
  setLibrary("WordGameScore", "12 00:03:41");
  LoadSettings();
  EXPECT_EQ(g_GameBestScore, "12");
  EXPECT_EQ(g_GameBestTime, "00:03:41");

  setLibrary("WordGameScore", "");
  setProgram("WordGameScore", "05 00:01:00");
  LoadSettings();
  EXPECT_EQ(g_GameBestScore, "99");
  EXPECT_EQ(g_GameBestTime, "00:59:00");
}

TEST_F(SettingsLoad, TranslucencyAndLongSymbols) {
  setLibrary("WordTransparent", "X");
  setLibrary("WordPhoneticSymbolEnd", "]]");
  LoadSettings();
  EXPECT_EQ(BarAlpha(), 100);
  EXPECT_TRUE(frmSysMenu::instance().mnuSysTrayColorTrans->checked());
  EXPECT_EQ(g_PhoneticSymbolEnd, "]");
  // The one end symbol of several characters stays whole, so the drawing can act on it.
  setLibrary("WordPhoneticSymbolEnd", "<FOLLOW_SPACE>");
  LoadSettings();
  EXPECT_EQ(g_PhoneticSymbolEnd, "<FOLLOW_SPACE>");
}

}  // namespace
