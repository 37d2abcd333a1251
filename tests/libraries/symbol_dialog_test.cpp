// The symbol dialogs: what they offer when they open, what their close picture stores and what
// Escape leaves alone.
#include "core/read_ini_bas.h"
#include "libraries/symbol_choice.h"
#include "tests/support/symbol_dialog_fixture.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

using testing_support::SymbolDialogFixture;

QStringList Entries(const QComboBox& list) {
  QStringList entries;
  for (int i = 0; i < list.count(); ++i) entries << list.itemData(i).toString();
  return entries;
}

class SymbolDialogs : public SymbolDialogFixture {};

TEST_F(SymbolDialogs, OpeningWithNoSampleOffersAndKeepsTheCurrentSymbols) {
  setCycle({"apple (fruit)"}, 1);  // the bar at the end of its cycle: no row left to show
  frmMeaningKeyword& dialog = frmMeaningKeyword::instance();

  EXPECT_TRUE(Ink(*dialog.Pic_Sample).isEmpty());
  EXPECT_EQ(Entries(*dialog.Cmb_Start), QStringList{"("});
  EXPECT_EQ(Entries(*dialog.Cmb_End), QStringList{")"});
  EXPECT_EQ(dialog.Cmb_End->currentIndex(), 0);

  dialog.Picture2_Click();
  EXPECT_FALSE(frmMeaningKeyword::loaded());
  EXPECT_EQ(stored("WordMeaningSymbolStart"), "(");
  EXPECT_EQ(stored("WordMeaningSymbolEnd"), ")");
  EXPECT_EQ(g_MeaningSymbolEnd, ")");
}

TEST_F(SymbolDialogs, EscapeClosesWithoutStoringAnything) {
  setCycle({"apple {fruit}"});
  frmMeaningKeyword& dialog = frmMeaningKeyword::instance();
  const QString caption = frmSysMenu::instance().mnuSysTrayShowMeaningKeyword->caption();
  dialog.Cmb_Start->setCurrentIndex(sampleEntry(6));
  dialog.Cmb_End->setCurrentIndex(sampleEntry(12));
  dialog.show();
  dialog.Cmb_End->setFocus();

  QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);  // to the list that has the focus

  EXPECT_FALSE(frmMeaningKeyword::loaded());
  EXPECT_EQ(stored("WordMeaningSymbolStart"), "(missing)");
  EXPECT_EQ(stored("WordMeaningSymbolEnd"), "(missing)");
  EXPECT_EQ(g_MeaningSymbolStart, "(");
  EXPECT_EQ(g_MeaningSymbolEnd, ")");
  EXPECT_EQ(frmSysMenu::instance().mnuSysTrayShowMeaningKeyword->caption(), caption);
}

// The settings load keeps the first character of "<FOLLOW_SPACE>"; a drawing turns that into a
// blank. Either way the dialog offers the stored word and keeps it when left unchanged.
TEST_F(SymbolDialogs, AnUnchangedSymbolOfSeveralCharactersIsStoredBackWhole) {
  for (const QString inForce : {"<", " "}) {
    SCOPED_TRACE(inForce.toStdString());
    store("WordPhoneticSymbolEnd", "<FOLLOW_SPACE>");
    g_PhoneticSymbolStart = "/";
    g_PhoneticSymbolEnd = inForce;
    setCycle({"go /gəʊ"});
    frmPhoneticKeyword& dialog = frmPhoneticKeyword::instance();
    EXPECT_EQ(dialog.Cmb_End->itemData(0).toString(), "<FOLLOW_SPACE>");
    dialog.Cmb_Start->setCurrentIndex(sampleEntry(0));  // "g": the start symbol changes

    dialog.Picture2_Click();
    EXPECT_EQ(stored("WordPhoneticSymbolEnd"), "<FOLLOW_SPACE>");
    EXPECT_EQ(stored("WordPhoneticSymbolStart"), "g");
    EXPECT_EQ(g_PhoneticSymbolEnd, inForce);
    EXPECT_EQ(g_PhoneticSymbolStart, "g");
  }
}

TEST_F(SymbolDialogs, AnyChosenCharacterReadsBackFromTheSettingsFile) {
  const QString sample = QStringLiteral("ˈ \"中𝄞");
  const QStringList characters = SymbolCandidates(sample);
  ASSERT_EQ(characters.size(), 5);  // the surrogate pair is one character
  for (int at = 0; at < characters.size(); ++at) {
    SCOPED_TRACE(at);
    setCycle({sample});
    frmMeaningKeyword& dialog = frmMeaningKeyword::instance();
    dialog.Cmb_End->setCurrentIndex(sampleEntry(at));
    dialog.Picture2_Click();

    EXPECT_EQ(g_MeaningSymbolEnd, characters[at]);
    EXPECT_EQ(ReadSymbolSetting("WordMeaningSymbolEnd", ")"), characters[at]);
  }
  EXPECT_TRUE(dialogs().messages.empty());
}

TEST_F(SymbolDialogs, AFailedWriteIsReportedAndThePairStaysInForce) {
  g_LibraryFolder = folders().libraryFolder() + "missing/";
  setCycle({"xy"});
  frmGroupKeyword& dialog = frmGroupKeyword::instance();
  dialog.Cmb_Start->setCurrentIndex(sampleEntry(0));
  dialog.Picture2_Click();

  ASSERT_EQ(dialogs().messages.size(), 1u);
  EXPECT_TRUE(dialogs().messages[0].text.contains("missing/Words.ini"));
  EXPECT_EQ(g_GroupSymbolStart, "x");
}

TEST_F(SymbolDialogs, SampleStepsStopAtTheEndsOfTheCycle) {
  setCycle({"ab", "cd", "ef"}, 2);
  frmGroupKeyword& dialog = frmGroupKeyword::instance();
  EXPECT_EQ(Entries(*dialog.Cmb_End), (QStringList{"", "e", "f"}));

  dialog.Cmd_Next_Click();  // past the last row: the sample stays
  EXPECT_EQ(dialog.m_SampleRow, 3);
  EXPECT_EQ(Entries(*dialog.Cmb_End), (QStringList{"", "e", "f"}));
  dialog.Cmd_Prev_Click();
  EXPECT_EQ(Entries(*dialog.Cmb_End), (QStringList{"", "e", "f"}));
  dialog.Cmd_Prev_Click();
  EXPECT_EQ(Entries(*dialog.Cmb_End), (QStringList{"", "c", "d"}));

  g_CurrentText = "gh";  // the another-one button takes the bar's text, the row stays
  dialog.Cmd_change_Click();
  EXPECT_EQ(Entries(*dialog.Cmb_End), (QStringList{"", "g", "h"}));
  dialog.Cmd_Next_Click();
  EXPECT_EQ(Entries(*dialog.Cmb_End), (QStringList{"", "e", "f"}));

  frmMeaningKeyword& meaning = frmMeaningKeyword::instance();  // the meaning dialog's also goes to the bar's row
  meaning.Cmd_Prev_Click();
  meaning.Cmd_change_Click();
  meaning.Cmd_Prev_Click();
  EXPECT_EQ(Entries(*meaning.Cmb_End), (QStringList{")", "c", "d"}));
}

// Each dialog stores its own pair under its own keys and captions its own tray item.
struct Member {
  const char* name;
  SymbolDialog& (*open)();
  QString* start;
  QString* end;
  const char* startKey;
  const char* endKey;
  platform::MenuItem* frmSysMenu::*item;
  const char* caption;
};

class EachSymbolDialog : public SymbolDialogFixture, public ::testing::WithParamInterface<Member> {};

TEST_P(EachSymbolDialog, StoresTheChosenPairAndCaptionsItsTrayItem) {
  const Member& member = GetParam();
  setCycle({"x-y"});
  SymbolDialog& dialog = member.open();
  dialog.Cmb_Start->setCurrentIndex(sampleEntry(0));
  dialog.Cmb_End->setCurrentIndex(sampleEntry(2));
  dialog.Picture2_Click();

  EXPECT_EQ(*member.start, "x");
  EXPECT_EQ(*member.end, "y");
  EXPECT_EQ(stored(member.startKey), "x");
  EXPECT_EQ(stored(member.endKey), "y");
  EXPECT_EQ((frmSysMenu::instance().*member.item)->caption(), QString(member.caption) + "x y");
}

INSTANTIATE_TEST_SUITE_P(
    SymbolDialogs, EachSymbolDialog,
    ::testing::Values(
        Member{"Group", []() -> SymbolDialog& { return frmGroupKeyword::instance(); }, &g_GroupSymbolStart,
               &g_GroupSymbolEnd, "WordGroupSymbolStart", "WordGroupSymbolEnd",
               &frmSysMenu::mnuSysTrayShowGroupKeyword, "Groups: "},
        Member{"Meaning", []() -> SymbolDialog& { return frmMeaningKeyword::instance(); }, &g_MeaningSymbolStart,
               &g_MeaningSymbolEnd, "WordMeaningSymbolStart", "WordMeaningSymbolEnd",
               &frmSysMenu::mnuSysTrayShowMeaningKeyword, "Meanings: "},
        Member{"Phonetic", []() -> SymbolDialog& { return frmPhoneticKeyword::instance(); }, &g_PhoneticSymbolStart,
               &g_PhoneticSymbolEnd, "WordPhoneticSymbolStart", "WordPhoneticSymbolEnd",
               &frmSysMenu::mnuSysTrayShowPhoneticKeyword, "Phonetics: "}),
    [](const ::testing::TestParamInfo<Member>& info) { return std::string(info.param.name); });

}  // namespace
