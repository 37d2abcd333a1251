#include "libraries/frmManager.h"

#include "bar/SkolvaneBar.h"
#include "core/vars_bas.h"
#include "libraries/frmGetWord.h"
#include "libraries/library_list.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

// The manager on a program folder with the shipped pictures and English texts, and a list of
// five libraries, two of them named like command items.
class Manager : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir app(QStringLiteral(LEXORN_APP_DIR));
    for (const QString& name : app.entryList(QDir::Files)) {
      if (name != "TopicList.ini" && name != "Settings.ini")
        QFile::copy(app.filePath(name), folders.programFolder() + name);
    }
    platform::SetProgramFolder(folders.programFolder());
    qputenv("XDG_CACHE_HOME", (folders.profileFolder() + "cache").toUtf8());
    g_UILanguage = "A";
    QByteArray list;
    for (const auto& [header, name] : kLibraries) {
      library(name, header);
      list += "[" + header.mid(1, 2).toUtf8() + ":" + name.toUtf8() + "]\r\n@=" + folders.libraryFolder().toUtf8() +
              "\r\n" + (header.endsWith('#') ? "#=X\r\n" : "");
    }
    TempFolders::writeFile(TopicListFile(), list);
  }
  void TearDown() override {
    platform::UnloadAllForms();
    platform::DeleteUnloadedForms();
    platform::SetProgramFolder({});
    qunsetenv("XDG_CACHE_HOME");
  }

  QString library(const QString& name, const QString& header) const {
    return TempFolders::writeFile(folders.libraryFolder() + name + ".abc",
                                  LibraryBytes(QStringList{header} + testing_support::SampleWordLines(5)));
  }
  QStringList items() const {
    QStringList texts;
    for (int i = 0; i < manager().Cmb_Library.ListCount(); ++i) texts << manager().Cmb_Library.GetString(i);
    return texts;
  }
  static frmManager& manager() { return frmManager::instance(); }
  // The learner picks an item of the list.
  static void choose(int index) {
    QComboBox* combo = manager().Cmb_Library.widget();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  static void chooseText(const QString& text) { choose(manager().Cmb_Library.widget()->findText(text)); }
  static bool shown(QWidget* widget) { return widget->isVisibleTo(&manager()); }

  const std::vector<std::pair<QString, QString>> kLibraries = {
      {"{AC}", "Words"}, {"{GC}", "Verben"}, {"{AC}#", "Dict"}, {"{AC}", "Verbs (Web)"}, {"{AC}", "(X) test"}};
  const QStringList kCommands = {"(O.Add a library from a file...", "(W.Download libraries from the web...",
                                 "(X.Remove the chosen library from the list"};
  TempFolders folders;
  testing_support::ScopedRecordingDialogs dialogs;
};

TEST_F(Manager, ListsTheRegisteredLibrariesThenTheCommandsAndFiltersByCategory) {
  EXPECT_EQ(manager().size(), QSize(416, 168));
  EXPECT_EQ(items(), QStringList({"AC:Words", "GC:Verben", "AC:Dict", "AC:Verbs (Web)", "AC:(X) test"}) + kCommands);
  EXPECT_EQ(manager().Cmb_Library.GetText(), "[-1]");
  EXPECT_EQ(manager().Lbl_List->caption(), "All libraries");

  manager().Pic_Click(6);  // G
  EXPECT_EQ(items(), QStringList{"GC:Verben"} + kCommands);
  EXPECT_EQ(manager().Lbl_List->caption(), "German");
  EXPECT_EQ(g_CategoryFilter, "G");
  manager().Pic_Click(9);  // K: no library
  EXPECT_EQ(items(), kCommands);
  manager().Pic_Mix_Click();
  EXPECT_EQ(items().size(), 8);
  EXPECT_EQ(g_CategoryFilter, "X");
}

TEST_F(Manager, ChoosingALibraryShowsItsFolderAndPlayOrSearchAndNeverRunsACommand) {
  const QByteArray list = TempFolders::readFile(TopicListFile());
  dialogs->fileReply = library("Other", "{FC}");
  for (const QString& name : QStringList{"AC:Words", "AC:Verbs (Web)", "AC:(X) test"}) {
    chooseText(name);
    EXPECT_EQ(manager().TxtFileLocation->toPlainText(), folders.libraryFolder());
    EXPECT_TRUE(shown(manager().Picture_Play[0]));
    EXPECT_FALSE(shown(manager().Picture_Search[0]));
  }
  EXPECT_EQ(items().size(), 8);
  EXPECT_EQ(TempFolders::readFile(TopicListFile()), list);
  EXPECT_TRUE(dialogs->messages.empty());

  chooseText("AC:Dict");
  EXPECT_TRUE(shown(manager().Picture_Search[0]));
  EXPECT_FALSE(shown(manager().Picture_Play[0]));
  EXPECT_EQ(g_ComboItemText, "[ 2]AC:Dict");
}

TEST_F(Manager, AddRegistersTheChosenFileShowsAllCategoriesAndSelectsIt) {
  manager().Pic_Click(6);
  dialogs->fileReply = library("Mots", "{FC}");
  QFile::rename(dialogs->fileReply, folders.libraryFolder() + "Mots.ABC");
  dialogs->fileReply = folders.libraryFolder() + "Mots.ABC";
  choose(1);  // Add, below the one German library
  EXPECT_EQ(platform::ReadProfileString(TopicListFile(), "FC:Mots", "@", "Error"), folders.libraryFolder());
  EXPECT_EQ(g_CategoryFilter, "X");
  EXPECT_EQ(manager().Cmb_Library.GetText(), "[ 5]FC:Mots");
  EXPECT_EQ(manager().TxtFileLocation->toPlainText(), folders.libraryFolder());

  dialogs->fileReply = TempFolders::writeFile(folders.libraryFolder() + "notes.txt", "x");
  chooseText(kCommands[0]);
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].text, "\"" + dialogs->fileReply + "\" is not a word library file (.abc); it was not added.");
  dialogs->fileReply.clear();  // Cancel
  chooseText(kCommands[0]);
  EXPECT_EQ(items().size(), 9);
  EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST_F(Manager, DeleteAsksThenMarksTheEntryAndSelectsTheFirstItem) {
  chooseText(kCommands[2]);  // nothing chosen yet: nothing to delete
  EXPECT_TRUE(dialogs->messages.empty());

  chooseText("GC:Verben");
  dialogs->replies = {platform::MsgBoxResult::Cancel, platform::MsgBoxResult::Ok, platform::MsgBoxResult::Cancel};
  chooseText(kCommands[2]);
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_EQ(dialogs->messages[0].text, "Remove [ 1]GC:Verben from the library list?");
  EXPECT_EQ(dialogs->messages[0].buttons, platform::MsgBoxButtons::OkCancel);
  EXPECT_EQ(platform::ReadProfileString(TopicListFile(), "GC:Verben", "@", "Error"), folders.libraryFolder());

  chooseText("GC:Verben");
  chooseText(kCommands[2]);
  EXPECT_EQ(platform::ReadProfileString(TopicListFile(), "GC:Verben", "@", "Error"), "XXX");
  EXPECT_FALSE(items().contains("GC:Verben"));
  EXPECT_EQ(manager().Cmb_Library.GetText(), "[ 0]AC:Words");
  EXPECT_EQ(g_ComboItemText, "AC:Words");

  chooseText(kCommands[2]);  // the first item is now remembered, without a list index
  ASSERT_EQ(dialogs->messages.size(), 3u);
  EXPECT_EQ(dialogs->messages[2].text, "Remove AC:Words from the library list?");
  manager().FillLibraryCombo("X");
  EXPECT_EQ(items().size(), 7);
}

TEST_F(Manager, PlayOpensTheBarOnTheChosenLibraryAndTheBarsExitReturnsHere) {
  manager().show();
  manager().Picture_Play_Click();  // nothing chosen: nothing happens
  EXPECT_FALSE(SkolvaneBar::loaded());

  chooseText("AC:Words");
  manager().Picture_Play_Click();
  EXPECT_EQ(g_LibraryPath, folders.libraryFolder() + "Words.abc");
  EXPECT_EQ(g_LibraryFolder, folders.libraryFolder());
  EXPECT_EQ(g_LibraryFileName, "Words.abc");
  EXPECT_EQ(g_LibraryTitle, "Words.abc");
  ASSERT_TRUE(SkolvaneBar::loaded());
  EXPECT_EQ(g_SourceLang, "A");
  EXPECT_FALSE(manager().isVisible());

  SkolvaneBar::unload();
  ReturnToLibraryManager();
  EXPECT_TRUE(manager().isVisible());
  EXPECT_EQ(manager().Cmb_Library.GetText(), "[ 0]AC:Words");

  // A library file that went away is refused with a message: the bar never opens on it.
  QFile::remove(folders.libraryFolder() + "Words.abc");
  manager().Picture_Play_Click();
  EXPECT_FALSE(SkolvaneBar::loaded());
  EXPECT_TRUE(manager().isVisible());
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_TRUE(dialogs->messages[0].text.contains(folders.libraryFolder() + "Words.abc"));

  // Search hands a dictionary over to the look-up pop-up, which takes the manager's place.
  chooseText("AC:Dict");
  manager().Picture_Search_Click();
  EXPECT_EQ(g_LibraryPath, folders.libraryFolder() + "Dict.abc");
  EXPECT_TRUE(frmGetWord::loaded());
  EXPECT_FALSE(manager().isVisible());
}

}  // namespace
