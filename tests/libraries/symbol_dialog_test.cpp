// The symbol dialogs: what they offer when they open, what their close picture stores and what
// Escape leaves alone; and the meaning dialog used with keyboard and mouse as a learner uses it.
#include "core/read_ini_bas.h"
#include "libraries/symbol_choice.h"
#include "tests/support/symbol_dialog_fixture.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

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

  dialog.Picture2_Click();
  EXPECT_FALSE(frmMeaningKeyword::loaded());
  EXPECT_EQ(stored("WordMeaningSymbolStart") + stored("WordMeaningSymbolEnd"), "()");
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
  EXPECT_EQ(stored("WordMeaningSymbolStart") + stored("WordMeaningSymbolEnd"), "--");
  EXPECT_EQ(g_MeaningSymbolStart + g_MeaningSymbolEnd, "()");
  EXPECT_EQ(frmSysMenu::instance().mnuSysTrayShowMeaningKeyword->caption(), caption);
}

// The settings load keeps the first character of "<FOLLOW_SPACE>"; a drawing turns that into a
// blank. Either way the dialog offers the stored word and keeps it when left unchanged.
TEST_F(SymbolDialogs, AnUnchangedSymbolOfSeveralCharactersIsStoredBackWhole) {
  for (const QString inForce : {"<", " "}) {
    platform::WriteProfileString(settingsFile(), "Normal", "WordPhoneticSymbolEnd", "<FOLLOW_SPACE>");
    g_PhoneticSymbolEnd = inForce;
    setCycle({"go /gəʊ"});
    frmPhoneticKeyword& dialog = frmPhoneticKeyword::instance();
    dialog.Cmb_Start->setCurrentIndex(sampleEntry(3));  // "/": the start symbol changes
    dialog.Picture2_Click();

    EXPECT_EQ(stored("WordPhoneticSymbolEnd"), "<FOLLOW_SPACE>");
    EXPECT_EQ(stored("WordPhoneticSymbolStart"), "/");
    EXPECT_EQ(g_PhoneticSymbolEnd, inForce);
  }
}

TEST_F(SymbolDialogs, AnyChosenCharacterReadsBackFromTheSettingsFile) {
  const QString sample = QStringLiteral("ˈ \"中𝄞");  // a blank, a quote, a surrogate pair
  const QStringList characters = SymbolCandidates(sample);
  for (int at = 0; at < characters.size(); ++at) {
    setCycle({sample});
    frmMeaningKeyword::instance().Cmb_End->setCurrentIndex(sampleEntry(at));
    frmMeaningKeyword::instance().Picture2_Click();
    EXPECT_EQ(ReadSymbolSetting("WordMeaningSymbolEnd", ")"), characters[at]) << at;
  }
}

TEST_F(SymbolDialogs, AFailedWriteIsReportedAndThePairStaysInForce) {
  g_LibraryFolder = folders().libraryFolder() + "missing/";
  setCycle({"xy"});
  frmGroupKeyword::instance().Cmb_Start->setCurrentIndex(sampleEntry(0));
  frmGroupKeyword::instance().Picture2_Click();
  ASSERT_EQ(dialogs().messages.size(), 1u);
  EXPECT_TRUE(dialogs().messages[0].text.contains("missing/Words.ini"));
  EXPECT_EQ(g_GroupSymbolStart, "x");
}

// A library whose meanings end with "}": the learner chooses that end symbol with the keyboard and
// clicks the close picture, through the window system's event path, in the dialog shown modally
// as the tray item shows it. The bar's next word then shows its meaning.
TEST_F(SymbolDialogs, AnEndSymbolChosenWithTheKeyboardShowsTheMeaningOnTheBar) {
  g_ShowLongMeaning = g_Wait = true;  // the bar holds its word: the dialog's sample is the next row
  setCycle({"apple (fruit} red", "pear (fruit} green"});
  bar().runtimer();
  EXPECT_TRUE(Ink(*bar().Pic_ShowLongMeaning).isEmpty());

  frmMeaningKeyword& dialog = frmMeaningKeyword::instance();
  QTimer::singleShot(0, &dialog, [&] {
    QWindow* window = dialog.windowHandle();
    for (int tab = 0; tab < 10 && dialog.focusWidget() != dialog.Cmb_End; ++tab) QTest::keyClick(window, Qt::Key_Tab);
    QTest::keyClick(window, '}');
    QTest::mouseClick(window, Qt::LeftButton, {}, dialog.Picture2->geometry().center());
  });
  QTimer::singleShot(10000, &dialog, [] { frmMeaningKeyword::unload(); });  // events that never arrive
  dialog.showModal();

  EXPECT_EQ(stored("WordMeaningSymbolEnd"), "}");
  bar().runtimer();
  EXPECT_EQ(bar().Pic_ShowLongMeaning->image(), Expected(*bar().Pic_ShowLongMeaning, {{"(fruit} red", 0, 0}}));
}

// Each dialog stores its own pair under its own keys and captions its own tray item.
struct Member {
  const char* name;
  SymbolDialog& (*open)();
  const char* keyPart;
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

  const QString key = QStringLiteral("Word%1Symbol").arg(member.keyPart);
  EXPECT_EQ(stored(key + "Start") + stored(key + "End"), "xy");
  EXPECT_EQ((frmSysMenu::instance().*member.item)->caption(), QString(member.caption) + "x y");
}

INSTANTIATE_TEST_SUITE_P(
    SymbolDialogs, EachSymbolDialog,
    ::testing::Values(Member{"Group", []() -> SymbolDialog& { return frmGroupKeyword::instance(); }, "Group",
                             &frmSysMenu::mnuSysTrayShowGroupKeyword, "Groups: "},
                      Member{"Meaning", []() -> SymbolDialog& { return frmMeaningKeyword::instance(); }, "Meaning",
                             &frmSysMenu::mnuSysTrayShowMeaningKeyword, "Meanings: "},
                      Member{"Phonetic", []() -> SymbolDialog& { return frmPhoneticKeyword::instance(); }, "Phonetic",
                             &frmSysMenu::mnuSysTrayShowPhoneticKeyword, "Phonetics: "}),
    [](const ::testing::TestParamInfo<Member>& info) { return std::string(info.param.name); });

}  // namespace
