#include "bar/frmSysMenu.h"

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QMenu>

#include <array>
#include <vector>

namespace {

using Kind = platform::MenuItem::Kind;
using testing_support::TempFolders;

struct ItemRow {
  QString name;
  QString parent;
  Kind kind;
  QString caption;
};

// The menu tree in menu order: name, parent, kind, design caption.
std::vector<ItemRow> ExpectedTree() {
  constexpr Kind S = Kind::Submenu, C = Kind::Command, X = Kind::Separator;
  std::vector<ItemRow> rows = {
      {"mnuSysTray", "", S, "mnuSysTray"},
      {"mnuSysTrayLanguage", "mnuSysTray", S, "界面语言"},
      {"mnuSysTrayLanguageC", "mnuSysTrayLanguage", C, "中文"},
      {"mnuSysTrayLanguageB", "mnuSysTrayLanguage", C, "英文"},
      {"mnuSysTrayColor", "mnuSysTray", S, "颜色调整"},
      {"mnuSysTrayColorF", "mnuSysTrayColor", C, "前景颜色..."},
      {"mnuSysTrayColorB", "mnuSysTrayColor", C, "背景颜色..."},
      {"mnuSysTrayColorNull", "mnuSysTrayColor", C, "变色龙"},
      {"mnuSysTrayColorTrans", "mnuSysTrayColor", C, "透明"},
      {"mnuSysTrayFont", "mnuSysTray", C, "字体调整..."},
      {"mnuSysTrayInterval", "mnuSysTray", S, "间隔时间"},
  };
  for (int n = 1; n <= 10; ++n) {
    rows.push_back({QStringLiteral("mnuSysTrayInterval%1").arg(n, 2, 10, QLatin1Char('0')), "mnuSysTrayInterval", C,
                    QStringLiteral("%1 秒钟").arg(n)});
  }
  rows.insert(rows.end(), {
      {"mnuSysTrayRun", "mnuSysTray", S, "等待/非等待 模式"},
      {"mnuSysTrayWait", "mnuSysTrayRun", C, "等待"},
      {"mnuSysTrayNoWait", "mnuSysTrayRun", C, "非等待"},
      {"mnuSysTrayMode1", "mnuSysTray", S, "简洁浏览/浏览/背颂 模式  [F9]"},
      {"mnuSysTrayMode100", "mnuSysTrayMode1", C, "简洁浏览"},
      {"mnuSysTrayMode101", "mnuSysTrayMode1", C, "浏览"},
      {"mnuSysTrayMode102", "mnuSysTrayMode1", C, "背颂"},
      {"mnuSysTrayType", "mnuSysTray", S, "全文/分组  [F10]"},
      {"mnuSysTrayALL", "mnuSysTrayType", C, "全文"},
      {"mnuSysTrayGroup", "mnuSysTrayType", C, "分组"},
      {"S5", "mnuSysTrayType", X, ""},
      {"mnuSysTraySegSize", "mnuSysTrayType", S, "每组大小"},
      {"mnuSysTraySegSize30", "mnuSysTraySegSize", C, "30"},
      {"mnuSysTraySegSize60", "mnuSysTraySegSize", C, "60"},
      {"mnuSysTraySegSize90", "mnuSysTraySegSize", C, "90"},
      {"S1", "mnuSysTrayType", X, ""},
      {"mnuSysTrayGroupUp", "mnuSysTrayType", C, "上一组  [F11]"},
      {"mnuSysTrayGroupDown", "mnuSysTrayType", C, "下一组  [F12]"},
      {"mnuSysTrayState", "mnuSysTrayType", C, "从统计分布图选择..."},
      {"mnuSysTrayGame", "mnuSysTrayType", C, "单词分组配对游戏..."},
      {"mnuSysTrayPercent", "mnuSysTray", S, "满意率"},
      {"mnuSysTrayPercent33", "mnuSysTrayPercent", C, "33%"},
      {"mnuSysTrayPercent66", "mnuSysTrayPercent", C, "66%"},
      {"mnuSysTrayPercent80", "mnuSysTrayPercent", C, "80%"},
      {"mnuSysTrayPercent90", "mnuSysTrayPercent", C, "90%"},
      {"mnuSysTraySound", "mnuSysTray", S, "静音/单语/双语"},
      {"mnuSysTrayNoSound", "mnuSysTraySound", C, "静音"},
      {"mnuSysTraySSound", "mnuSysTraySound", C, "单语"},
      {"mnuSysTrayDSound", "mnuSysTraySound", C, "双语"},
      {"mnuSysTrayShow", "mnuSysTray", S, "显示"},
      {"mnuSysTrayShowMain", "mnuSysTrayShow", C, "播放窗口"},
      {"mnuSysTrayShowStatus", "mnuSysTrayShow", C, "状态栏"},
      {"mnuSysTrayShowHour", "mnuSysTrayShow", C, "沙漏图标"},
      {"mnuSysTrayShowResize", "mnuSysTrayShow", C, "窗口缩放图标"},
      {"mnuSysTrayShowProgress", "mnuSysTrayShow", C, "进度图标"},
      {"mnuSysTrayShowSegNo", "mnuSysTrayShow", C, "分组编号"},
      {"mnuSysTrayShowCounter", "mnuSysTrayShow", C, "单词编号"},
      {"mnuSysTrayShowPhonetic", "mnuSysTrayShow", C, "音标栏"},
      {"mnuSysTrayShowLongMeaning", "mnuSysTrayShow", C, "备注栏"},
      {"mnuSysTrayShowPicture", "mnuSysTrayShow", C, "图片栏"},
      {"S2", "mnuSysTrayShow", X, ""},
      {"mnuSysTrayShowMainCenter", "mnuSysTrayShow", C, "到屏幕正中央"},
      {"S6", "mnuSysTrayShow", X, ""},
      {"mnuSysTrayShowGroupKeyword", "mnuSysTrayShow", C, "分组符号设定..."},
      {"mnuSysTrayShowPhoneticKeyword", "mnuSysTrayShow", C, "音标栏符号设定... "},
      {"mnuSysTrayShowMeaningKeyword", "mnuSysTrayShow", C, "备注栏符号设定... "},
      {"mnuSysTrayShowLongMeaningPercent", "mnuSysTrayShow", S, "备注栏字体比例"},
      {"mnuSysTrayShowLongMeaningPercentH", "mnuSysTrayShowLongMeaningPercent", C, "50%"},
      {"mnuSysTrayShowLongMeaningPercentA", "mnuSysTrayShowLongMeaningPercent", C, "100%"},
      {"mnuSysTrayShowConfig", "mnuSysTrayShow", C, "单词标识配置..."},
      {"mnuSysTrayShowMeaningRows", "mnuSysTrayShow", S, "备注行数"},
      {"mnuSysTrayShowMeaningRow00", "mnuSysTrayShowMeaningRows", C, "自动"},
  });
  for (int n = 1; n <= 10; ++n) {
    rows.push_back({QStringLiteral("mnuSysTrayShowMeaningRow%1").arg(n, 2, 10, QLatin1Char('0')),
                    "mnuSysTrayShowMeaningRows", C, QStringLiteral("%1 行").arg(n)});
  }
  rows.insert(rows.end(), {
      {"S3", "mnuSysTray", X, ""},
      {"mnuSysTrayStatistics", "mnuSysTray", C, "每日进度..."},
      {"mnuSysTrayAbout", "mnuSysTray", C, "关于..."},
      {"S4", "mnuSysTray", X, ""},
      {"mnuSysTrayExit", "mnuSysTray", C, "退出"},
  });
  return rows;
}

// Loads a fresh menu form from a program folder of the test's own.
class SysMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    g_UILanguage = QStringLiteral("C");
    g_LibraryFileName.clear();
    unloadMenu();
  }
  void TearDown() override {
    unloadMenu();
    platform::SetProgramFolder(QString());
    g_UILanguage.clear();
  }
  static void unloadMenu() {
    frmSysMenu::unload();
    platform::DeleteUnloadedForms();
  }

  TempFolders folders_;
};

TEST_F(SysMenuTest, HoldsTheWholeTreeInMenuOrderWithDesignCaptions) {
  const frmSysMenu& form = frmSysMenu::instance();
  const std::vector<ItemRow> expected = ExpectedTree();
  ASSERT_EQ(form.controls().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ItemRow& row = expected[i];
    auto* item = qobject_cast<platform::MenuItem*>(form.controls()[i]);
    ASSERT_NE(item, nullptr) << row.name.toStdString();
    SCOPED_TRACE(row.name.toStdString());
    EXPECT_EQ(item->objectName(), row.name);
    EXPECT_EQ(item->parentItem() ? item->parentItem()->objectName() : QString(), row.parent);
    EXPECT_EQ(item->kind(), row.kind);
    if (row.kind != Kind::Separator) {
      EXPECT_EQ(item->caption(), row.caption);
    }
    EXPECT_FALSE(item->checked());
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

TEST_F(SysMenuTest, LoadAppliesTheLanguageAndClearsTheCustomColours) {
  TempFolders::writeFile(folders_.programFolder() + "LANG_A.dat",
                         "[frmSysMenu]\nmnuSysTrayExit=Exit\nmnuSysTrayShow=Show\nS1=ignored\n");
  g_UILanguage = QStringLiteral("A");
  QColorDialog::setCustomColor(3, Qt::red);

  const frmSysMenu& form = frmSysMenu::instance();
  EXPECT_EQ(form.mnuSysTrayExit->caption(), QStringLiteral("Exit"));
  EXPECT_EQ(form.mnuSysTrayShow->caption(), QStringLiteral("Show"));
  EXPECT_EQ(form.mnuSysTrayAbout->caption(), QStringLiteral("关于..."));  // no entry: design caption
  EXPECT_FALSE(form.isVisible());
  for (int slot = 0; slot < QColorDialog::customCount(); ++slot) {
    EXPECT_EQ(QColorDialog::customColor(slot), QColor(Qt::white)) << slot;
  }
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
