#include "bar/frmSysMenu.h"

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <vector>

namespace {

using Kind = platform::MenuItem::Kind;
using testing_support::TempFolders;

// Loads a fresh menu form from a program folder of the test's own.
class SysMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    g_UILanguage = QStringLiteral("C");
    unloadMenu();
  }
  void TearDown() override {
    unloadMenu();
    platform::SetProgramFolder(QString());
  }
  static void unloadMenu() {
    frmSysMenu::unload();
    platform::DeleteUnloadedForms();
  }

  TempFolders folders_;
};

// The menu items in creation order.
std::vector<platform::MenuItem*> Items(const frmSysMenu& form) {
  std::vector<platform::MenuItem*> items;
  for (QObject* control : form.controls()) items.push_back(qobject_cast<platform::MenuItem*>(control));
  return items;
}

TEST_F(SysMenuTest, BuildsOneWellFormedTreeInMenuOrder) {
  const frmSysMenu& form = frmSysMenu::instance();
  const std::vector<platform::MenuItem*> items = Items(form);
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front(), form.mnuSysTray);
  QSet<QString> names;
  std::map<const platform::MenuItem*, int> childCount;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const platform::MenuItem* item = items[i];
    ASSERT_NE(item, nullptr) << "control " << i << " is not a menu item";
    const QString name = item->objectName();
    SCOPED_TRACE(name.toStdString());
    EXPECT_FALSE(names.contains(name)) << "name used twice";
    names.insert(name);
    EXPECT_FALSE(item->checked()) << "checked at design";
    const platform::MenuItem* parent = item->parentItem();
    if (i == 0) {
      EXPECT_EQ(parent, nullptr);
      continue;
    }
    // Every other item hangs under a submenu made before it, as the next entry of that submenu.
    ASSERT_NE(parent, nullptr) << "a second root";
    const auto parentAt = std::find(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(i), parent);
    EXPECT_NE(parentAt, items.begin() + static_cast<std::ptrdiff_t>(i)) << "parent made after the item";
    ASSERT_EQ(parent->kind(), Kind::Submenu);
    const int position = childCount[parent]++;
    ASSERT_LT(position, parent->menu()->actions().size());
    EXPECT_EQ(parent->menu()->actions()[position], item->action());
  }
  for (const platform::MenuItem* item : items) {
    if (item->kind() != Kind::Submenu) continue;
    EXPECT_GT(childCount[item], 0) << item->objectName().toStdString() << ": an empty submenu";
    EXPECT_EQ(childCount[item], item->menu()->actions().size()) << item->objectName().toStdString();
  }
}

TEST_F(SysMenuTest, NamedMembersAreTheItemsOfThoseNames) {
  frmSysMenu& form = frmSysMenu::instance();
  const std::array<std::pair<platform::MenuItem*, const char*>, 8> samples = {{
      {form.mnuSysTrayInterval01, "mnuSysTrayInterval01"},
      {form.mnuSysTrayInterval07, "mnuSysTrayInterval07"},
      {form.mnuSysTrayInterval10, "mnuSysTrayInterval10"},
      {form.mnuSysTrayShowMeaningRow00, "mnuSysTrayShowMeaningRow00"},
      {form.mnuSysTrayShowMeaningRow03, "mnuSysTrayShowMeaningRow03"},
      {form.mnuSysTrayShowMeaningRow10, "mnuSysTrayShowMeaningRow10"},
      {form.S5, "S5"},
      {form.mnuSysTrayExit, "mnuSysTrayExit"},
  }};
  for (const auto& [member, name] : samples) EXPECT_EQ(member, form.control(name)) << name;
  // The submenu opened under the Type item really holds its items.
  EXPECT_TRUE(form.mnuSysTrayType->menu()->actions().contains(form.mnuSysTrayGame->action()));
}

TEST_F(SysMenuTest, OffersNeitherTheConfigItemNorTheAutomaticRowCount) {
  const frmSysMenu& form = frmSysMenu::instance();
  EXPECT_FALSE(form.mnuSysTrayShowConfig->visible());
  EXPECT_FALSE(form.mnuSysTrayShowConfig->enabled());
  EXPECT_TRUE(form.mnuSysTrayShowMeaningRow00->visible());  // shown greyed
  EXPECT_FALSE(form.mnuSysTrayShowMeaningRow00->enabled());
  EXPECT_TRUE(form.mnuSysTrayShowMeaningRow01->enabled());
}

TEST_F(SysMenuTest, LoadAppliesTheLanguage) {
  TempFolders::writeFile(folders_.programFolder() + "LANG_A.dat",
                         "[frmSysMenu]\nmnuSysTrayExit=Exit\nmnuSysTrayShow=Show\nS1=ignored\n");
  g_UILanguage = QStringLiteral("A");

  const frmSysMenu& form = frmSysMenu::instance();
  EXPECT_EQ(form.mnuSysTrayExit->caption(), QStringLiteral("Exit"));
  EXPECT_EQ(form.mnuSysTrayShow->caption(), QStringLiteral("Show"));
  EXPECT_EQ(form.mnuSysTrayAbout->caption(), QStringLiteral("关于..."));  // no entry: design caption
  EXPECT_FALSE(form.isVisible());
}

// The text keys that code joins into the menu's captions at run time.
QStringList MenuTextKeys() {
  QStringList keys = {"Tips", "mnuSysTrayType_A1", "mnuSysTrayType_A2", "mnuSysTrayType_B", "mnuSysTrayType_C1",
                      "mnuSysTrayType_C2", "mnuSysTrayMode1_A", "mnuSysTrayMode1_B", "mnuSysTrayMode1_C",
                      "mnuSysTrayGroupUpX", "mnuSysTrayGroupDownX", "mnuSysTraySSound_A", "mnuSysTrayDSound_A",
                      "mnuSysTraySound_A", "mnuSysTraySound_B", "mnuSysTraySound_C", "mnuSysTrayLanguage_A",
                      "mnuSysTrayLanguage_B", "mnuSysTrayColor", "mnuSysTrayColor_A", "mnuSysTrayColor_B",
                      "mnuSysTraySegSize_A", "mnuSysTraySegSize_B", "mnuSysTraySegSize_C", "mnuSysTrayPercent_A",
                      "mnuSysTrayFont_A", "mnuSysTrayRun_A", "mnuSysTrayRun_B"};
  for (char letter = 'A'; letter <= 'E'; ++letter) keys << QStringLiteral("mnuSysTrayShow_") + QLatin1Char(letter);
  for (char letter = 'A'; letter <= 'J'; ++letter) {
    keys << QStringLiteral("mnuSysTrayInterval_") + QLatin1Char(letter)
         << QStringLiteral("mnuSysTrayShowMeaningRows_") + QLatin1Char(letter);
  }
  return keys;
}

TEST_F(SysMenuTest, ShippedLanguageFilesCaptionEveryItemAndHoldEveryText) {
  const frmSysMenu& form = frmSysMenu::instance();
  const QString chinese = QStringLiteral(LEXORN_APP_DIR "/LANG_C.dat");
  const QString english = QStringLiteral(LEXORN_APP_DIR "/LANG_A.dat");
  const auto read = [](const QString& file, const QString& key) {
    return platform::ReadProfileString(file, "frmSysMenu", key, "Error");
  };
  for (QObject* control : form.controls()) {
    auto* item = qobject_cast<platform::MenuItem*>(control);
    if (item->kind() == Kind::Separator || item->parentItem() == nullptr) continue;
    const QString key = item->objectName();
    // The Chinese file repeats the design captions (trailing blanks aside, which the menu hides).
    EXPECT_EQ(read(chinese, key).trimmed(), item->caption().trimmed()) << key.toStdString();
    EXPECT_NE(read(english, key), "Error") << key.toStdString();
  }
  for (const QString& key : MenuTextKeys()) {
    EXPECT_NE(read(chinese, key), "Error") << key.toStdString();
    EXPECT_NE(read(english, key), "Error") << key.toStdString();
  }
}

}  // namespace
