#include "core/language_bas.h"

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/forms/form.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/timer.h"
#include "platform/ini/ini.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using testing_support::TempFolders;

// A localised window's name, so that the walk captions it; never shown, like the tray menu.
class CaptionedForm : public platform::Form {
 public:
  explicit CaptionedForm(const QString& name = QStringLiteral("frmTopList")) : Form(name) {
    Lbl_A = add<platform::Label>(QStringLiteral("Lbl_A"));
    Lbl_A->setCaption(QStringLiteral("design A"));
    Lbl_B = add<platform::Label>(QStringLiteral("Lbl_B"));
    Lbl_B->setCaption(QStringLiteral("design B"));
    Lbl_C = add<platform::Label>(QStringLiteral("Lbl_C"));
    Lbl_C->setCaption(QStringLiteral("design C"));
    Pic_Box = add<platform::PictureBox>(QStringLiteral("Pic_Box"));
    Tim_Tick = add<platform::Timer>(QStringLiteral("Tim_Tick"));
    Lbl_Array0 = addIndexed<platform::Label>(QStringLiteral("Lbl_Array"), 0);
    Lbl_Array1 = addIndexed<platform::Label>(QStringLiteral("Lbl_Array"), 1);
    using Kind = platform::MenuItem::Kind;
    mnuRoot = addMenuItem(QStringLiteral("mnuRoot"), nullptr, Kind::Submenu, QStringLiteral("root"));
    mnuItem = addMenuItem(QStringLiteral("mnuItem"), mnuRoot, Kind::Command, QStringLiteral("item"));
  }
  platform::Label* Lbl_A;
  platform::Label* Lbl_B;
  platform::Label* Lbl_C;
  platform::PictureBox* Pic_Box;
  platform::Timer* Tim_Tick;
  platform::Label* Lbl_Array0;
  platform::Label* Lbl_Array1;
  platform::MenuItem* mnuRoot;
  platform::MenuItem* mnuItem;
};

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
  }
  void TearDown() override {
    platform::SetProgramFolder(QString());
  }

  void writeLanguageFile(const QString& letter, const QByteArray& text) {
    TempFolders::writeFile(folders_.programFolder() + "LANG_" + letter + ".dat", text);
  }
  // A value for WordUILanguage in Settings.ini; nothing leaves the key out.
  void writeProgramLetter(const std::optional<QString>& letter) {
    QByteArray text = "[Global]\n";
    if (letter) text += "WordUILanguage=" + letter->toUtf8() + "\n";
    TempFolders::writeFile(folders_.programFolder() + "Settings.ini", text);
  }
  // Opens a library and gives its settings file a WordUILanguage value (nothing: no key).
  void openLibraryWithLetter(const std::optional<QString>& letter) {
    g_LibraryFolder = folders_.libraryFolder();
    g_LibraryFileName = QStringLiteral("words.abc");
    QByteArray text = "[Normal]\n";
    if (letter) text += "WordUILanguage=" + letter->toUtf8() + "\n";
    TempFolders::writeFile(folders_.libraryFolder() + "words.ini", text);
  }
  // Chinese and English files that tell apart which one was read.
  void writeBothLanguageFiles() {
    writeLanguageFile("C", "[frmTopList]\nLbl_A=中文 A\n[frmAbout]\nLbl_A=中文 A\n");
    writeLanguageFile("A", "[frmTopList]\nLbl_A=English A\n[frmAbout]\nLbl_A=English A\n");
  }

  TempFolders folders_;
};

TEST_F(LanguageTest, GetUITextReturnsTheValueOrEmptyForAnythingMissing) {
  g_UILanguage = QStringLiteral("C");
  EXPECT_EQ(GetUIText("frmSysMenu", "Tips"), QString());  // no language file

  writeLanguageFile("C",
                    "[frmSysMenu]\nTips=学习中:\nStoredError=Error\nEmpty=\nQuoted=\"Total: \"\n"
                    "[SkolvaneBar]\nTips=other section\n");
  EXPECT_EQ(GetUIText("frmSysMenu", "Tips"), QStringLiteral("学习中:"));
  EXPECT_EQ(GetUIText("SkolvaneBar", "Tips"), QStringLiteral("other section"));
  EXPECT_EQ(GetUIText("frmSysMenu", "Quoted"), QStringLiteral("Total: "));  // blanks kept inside quotes
  EXPECT_EQ(GetUIText("frmSysMenu", "StoredError"), QString());
  EXPECT_EQ(GetUIText("frmSysMenu", "Empty"), QString());
  EXPECT_EQ(GetUIText("frmSysMenu", "NoSuchKey"), QString());
  EXPECT_EQ(GetUIText("frmNoSuchWindow", "Tips"), QString());
}

TEST_F(LanguageTest, GetUITextResolvesAnEmptyLetterFromSettingsOnly) {
  writeBothLanguageFiles();
  struct Case {
    std::optional<QString> stored;
    QString expected;
  };
  const Case cases[] = {
      {QStringLiteral("A"), QStringLiteral("A")},
      {std::nullopt, QStringLiteral("C")},
      {QStringLiteral("Error"), QStringLiteral("C")},
      {QString(), QStringLiteral("C")},  // an empty value would name "LANG_.dat"
  };
  for (const Case& c : cases) {
    g_UILanguage.clear();
    writeProgramLetter(c.stored);
    GetUIText("frmTopList", "Lbl_A");
    EXPECT_EQ(g_UILanguage, c.expected) << c.stored.value_or("(missing)").toStdString();
  }

  // A letter already chosen is kept whatever Settings.ini says.
  writeProgramLetter(QStringLiteral("C"));
  g_UILanguage = QStringLiteral("A");
  EXPECT_EQ(GetUIText("frmTopList", "Lbl_A"), QStringLiteral("English A"));
  EXPECT_EQ(g_UILanguage, QStringLiteral("A"));
}

TEST_F(LanguageTest, ApplyFormLanguageCaptionsEveryCaptionedControlOfAHiddenForm) {
  g_UILanguage = QStringLiteral("C");
  CaptionedForm form;
  ApplyFormLanguage("frmTopList");  // no language file: the design captions stay
  EXPECT_EQ(form.Lbl_A->caption(), QStringLiteral("design A"));
  EXPECT_EQ(form.mnuItem->caption(), QStringLiteral("item"));

  writeLanguageFile("C",
                    "[frmTopList]\nLbl_A=甲\nLbl_B=\nLbl_C=Error\nPic_Box=ignored\nTim_Tick=ignored\n"
                    "Lbl_Array=数组\nmnuItem=菜单项\n[frmOther]\nLbl_C=wrong section\n");
  ApplyFormLanguage("frmTopList");
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.Lbl_A->caption(), QStringLiteral("甲"));
  EXPECT_EQ(form.Lbl_B->caption(), QString());  // an empty entry blanks the caption
  EXPECT_EQ(form.Lbl_C->caption(), QStringLiteral("design C"));  // "Error" is no entry
  EXPECT_EQ(form.Lbl_Array0->caption(), QStringLiteral("数组"));  // array elements share the key
  EXPECT_EQ(form.Lbl_Array1->caption(), QStringLiteral("数组"));
  EXPECT_EQ(form.mnuItem->caption(), QStringLiteral("菜单项"));
  EXPECT_EQ(form.windowTitle(), QString());  // the window's own title is not touched
}

TEST_F(LanguageTest, ApplyFormLanguageTakesTheLibraryLetterFirstWhileALibraryIsOpen) {
  writeBothLanguageFiles();
  struct Case {
    std::optional<QString> library;
    std::optional<QString> program;
    QString expected;
  };
  const Case cases[] = {
      {QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("A")},
      {QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("C")},
      {std::nullopt, QStringLiteral("A"), QStringLiteral("A")},
      {QString(), QStringLiteral("A"), QStringLiteral("A")},
      {QStringLiteral("Error"), std::nullopt, QStringLiteral("C")},
      {std::nullopt, QString(), QStringLiteral("C")},
  };
  CaptionedForm form;
  for (const Case& c : cases) {
    g_UILanguage = QStringLiteral("X");  // resolved again on every call
    openLibraryWithLetter(c.library);
    writeProgramLetter(c.program);
    ApplyFormLanguage("frmTopList");
    EXPECT_EQ(g_UILanguage, c.expected);
    EXPECT_EQ(form.Lbl_A->caption(), c.expected == "A" ? QStringLiteral("English A") : QStringLiteral("中文 A"));
  }
}

TEST_F(LanguageTest, ApplyFormLanguageKeepsTheLetterForTheManagerAndWithoutLibrary) {
  writeBothLanguageFiles();
  writeProgramLetter(QStringLiteral("C"));
  openLibraryWithLetter(QStringLiteral("C"));
  g_UILanguage = QStringLiteral("A");
  ApplyFormLanguage("frmManager");
  EXPECT_EQ(g_UILanguage, QStringLiteral("A"));

  g_LibraryFileName.clear();
  CaptionedForm form;
  ApplyFormLanguage("frmTopList");
  EXPECT_EQ(g_UILanguage, QStringLiteral("A"));
  EXPECT_EQ(form.Lbl_A->caption(), QStringLiteral("English A"));

  // A letter the start-up left empty is taken from Settings.ini, so captions and texts agree.
  g_UILanguage.clear();
  writeProgramLetter(QStringLiteral("A"));
  ApplyFormLanguage("frmManager");
  EXPECT_EQ(g_UILanguage, QStringLiteral("A"));
}

TEST_F(LanguageTest, ApplyFormLanguageForAnUnlistedWindowOnlyResolvesTheLetter) {
  writeBothLanguageFiles();
  CaptionedForm about(QStringLiteral("frmAbout"));
  openLibraryWithLetter(QStringLiteral("A"));
  g_UILanguage = QStringLiteral("C");
  ApplyFormLanguage("frmAbout");
  EXPECT_EQ(g_UILanguage, QStringLiteral("A"));
  EXPECT_EQ(about.Lbl_A->caption(), QStringLiteral("design A"));
}

TEST(ShippedLanguageFiles, HoldTheBarAndManagerTexts) {
  const QStringList barKeys = {"Lbl_SysInfo",   "Lbl_Counter",   "Lbl_SysInfo_A", "Lbl_SysInfo_B", "Lbl_SysInfo_C",
                               "Lbl_SysInfo_D", "Lbl_SysInfo_E", "Lbl_SysInfo_F", "Lbl_SysInfo_G"};
  for (const char* letter : {"C", "A"}) {
    const QString file = QStringLiteral(LEXORN_APP_DIR "/LANG_%1.dat").arg(QLatin1String(letter));
    for (const QString& key : barKeys) {
      EXPECT_NE(platform::ReadProfileString(file, "SkolvaneBar", key, "Error"), "Error")
          << letter << " " << key.toStdString();
    }
    QStringList managerKeys = {"Lbl_List", "Tips_X", "ToolTipText", "Combo_Add", "Combo_Web", "Combo_Delete",
                               "Dlg_AddTitle", "Dlg_AddFilter", "Msg_DeleteConfirm", "Msg_LibraryMissing",
                               "Msg_ListWriteFailed", "Msg_NotALibrary"};
    for (const char* category : {"A", "B", "C", "D", "F", "G", "I", "J", "K", "P", "R", "S"})
      managerKeys << QStringLiteral("Lbl_List_") + category << QStringLiteral("Tips_") + category;
    for (const QString& key : managerKeys) {
      EXPECT_NE(platform::ReadProfileString(file, "frmManager", key, "Error"), "Error")
          << letter << " " << key.toStdString();
    }
  }
}

}  // namespace
