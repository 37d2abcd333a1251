#include "bar/frmSysMenu.h"

#include "core/language_bas.h"

#include <QColorDialog>

#include <array>

namespace {

using Kind = platform::MenuItem::Kind;
using Item = frmSysMenu::Item;

constexpr std::array<Item frmSysMenu::*, 10> kIntervalItems = {
    &frmSysMenu::mnuSysTrayInterval01, &frmSysMenu::mnuSysTrayInterval02, &frmSysMenu::mnuSysTrayInterval03,
    &frmSysMenu::mnuSysTrayInterval04, &frmSysMenu::mnuSysTrayInterval05, &frmSysMenu::mnuSysTrayInterval06,
    &frmSysMenu::mnuSysTrayInterval07, &frmSysMenu::mnuSysTrayInterval08, &frmSysMenu::mnuSysTrayInterval09,
    &frmSysMenu::mnuSysTrayInterval10,
};

constexpr std::array<Item frmSysMenu::*, 10> kMeaningRowItems = {
    &frmSysMenu::mnuSysTrayShowMeaningRow01, &frmSysMenu::mnuSysTrayShowMeaningRow02,
    &frmSysMenu::mnuSysTrayShowMeaningRow03, &frmSysMenu::mnuSysTrayShowMeaningRow04,
    &frmSysMenu::mnuSysTrayShowMeaningRow05, &frmSysMenu::mnuSysTrayShowMeaningRow06,
    &frmSysMenu::mnuSysTrayShowMeaningRow07, &frmSysMenu::mnuSysTrayShowMeaningRow08,
    &frmSysMenu::mnuSysTrayShowMeaningRow09, &frmSysMenu::mnuSysTrayShowMeaningRow10,
};

}  // namespace

void ClearCustomColors() {
  for (int slot = 0; slot < QColorDialog::customCount(); ++slot) QColorDialog::setCustomColor(slot, Qt::white);
}

frmSysMenu::frmSysMenu() : Form(QStringLiteral("frmSysMenu")) {
  mnuSysTray = submenu(QStringLiteral("mnuSysTray"), nullptr, QStringLiteral("mnuSysTray"));
  CreateLanguageAndColorItems();
  CreateTimingAndModeItems();
  CreateTypeItems();
  CreatePercentAndSoundItems();
  CreateShowItems();
  CreateWindowItems();
}

frmSysMenu::~frmSysMenu() = default;

void frmSysMenu::Form_Load() {
  ApplyFormLanguage(QStringLiteral("frmSysMenu"));
  ClearCustomColors();
}

Item frmSysMenu::submenu(const QString& name, Item parent, const QString& caption) {
  return addMenuItem(name, parent, Kind::Submenu, caption);
}

Item frmSysMenu::command(const QString& name, Item parent, const QString& caption) {
  return addMenuItem(name, parent, Kind::Command, caption);
}

Item frmSysMenu::separator(const QString& name, Item parent) {
  return addMenuItem(name, parent, Kind::Separator, QStringLiteral("-"));
}

void frmSysMenu::numberedCommands(std::span<Item frmSysMenu::* const> members, const QString& prefix,
                                  int firstNumber, Item parent, const QString& unit) {
  int number = firstNumber;
  for (Item frmSysMenu::*member : members) {
    this->*member = command(prefix + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')), parent,
                            QString::number(number) + QLatin1Char(' ') + unit);
    ++number;
  }
}

void frmSysMenu::CreateLanguageAndColorItems() {
  mnuSysTrayLanguage = submenu(QStringLiteral("mnuSysTrayLanguage"), mnuSysTray, QStringLiteral("界面语言"));
  mnuSysTrayLanguageC = command(QStringLiteral("mnuSysTrayLanguageC"), mnuSysTrayLanguage, QStringLiteral("中文"));
  mnuSysTrayLanguageB = command(QStringLiteral("mnuSysTrayLanguageB"), mnuSysTrayLanguage, QStringLiteral("英文"));

  mnuSysTrayColor = submenu(QStringLiteral("mnuSysTrayColor"), mnuSysTray, QStringLiteral("颜色调整"));
  mnuSysTrayColorF = command(QStringLiteral("mnuSysTrayColorF"), mnuSysTrayColor, QStringLiteral("前景颜色..."));
  mnuSysTrayColorB = command(QStringLiteral("mnuSysTrayColorB"), mnuSysTrayColor, QStringLiteral("背景颜色..."));
  mnuSysTrayColorNull = command(QStringLiteral("mnuSysTrayColorNull"), mnuSysTrayColor, QStringLiteral("变色龙"));
  mnuSysTrayColorTrans = command(QStringLiteral("mnuSysTrayColorTrans"), mnuSysTrayColor, QStringLiteral("透明"));

  mnuSysTrayFont = command(QStringLiteral("mnuSysTrayFont"), mnuSysTray, QStringLiteral("字体调整..."));
}

void frmSysMenu::CreateTimingAndModeItems() {
  mnuSysTrayInterval = submenu(QStringLiteral("mnuSysTrayInterval"), mnuSysTray, QStringLiteral("间隔时间"));
  numberedCommands(kIntervalItems, QStringLiteral("mnuSysTrayInterval"), 1, mnuSysTrayInterval,
                   QStringLiteral("秒钟"));

  mnuSysTrayRun = submenu(QStringLiteral("mnuSysTrayRun"), mnuSysTray, QStringLiteral("等待/非等待 模式"));
  mnuSysTrayWait = command(QStringLiteral("mnuSysTrayWait"), mnuSysTrayRun, QStringLiteral("等待"));
  mnuSysTrayNoWait = command(QStringLiteral("mnuSysTrayNoWait"), mnuSysTrayRun, QStringLiteral("非等待"));

  mnuSysTrayMode1 =
      submenu(QStringLiteral("mnuSysTrayMode1"), mnuSysTray, QStringLiteral("简洁浏览/浏览/背颂 模式  [F9]"));
  mnuSysTrayMode100 = command(QStringLiteral("mnuSysTrayMode100"), mnuSysTrayMode1, QStringLiteral("简洁浏览"));
  mnuSysTrayMode101 = command(QStringLiteral("mnuSysTrayMode101"), mnuSysTrayMode1, QStringLiteral("浏览"));
  mnuSysTrayMode102 = command(QStringLiteral("mnuSysTrayMode102"), mnuSysTrayMode1, QStringLiteral("背颂"));
}

void frmSysMenu::CreateTypeItems() {
  mnuSysTrayType = submenu(QStringLiteral("mnuSysTrayType"), mnuSysTray, QStringLiteral("全文/分组  [F10]"));
  mnuSysTrayALL = command(QStringLiteral("mnuSysTrayALL"), mnuSysTrayType, QStringLiteral("全文"));
  mnuSysTrayGroup = command(QStringLiteral("mnuSysTrayGroup"), mnuSysTrayType, QStringLiteral("分组"));
  S5 = separator(QStringLiteral("S5"), mnuSysTrayType);
  mnuSysTraySegSize = submenu(QStringLiteral("mnuSysTraySegSize"), mnuSysTrayType, QStringLiteral("每组大小"));
  mnuSysTraySegSize30 = command(QStringLiteral("mnuSysTraySegSize30"), mnuSysTraySegSize, QStringLiteral("30"));
  mnuSysTraySegSize60 = command(QStringLiteral("mnuSysTraySegSize60"), mnuSysTraySegSize, QStringLiteral("60"));
  mnuSysTraySegSize90 = command(QStringLiteral("mnuSysTraySegSize90"), mnuSysTraySegSize, QStringLiteral("90"));
  S1 = separator(QStringLiteral("S1"), mnuSysTrayType);
  mnuSysTrayGroupUp = command(QStringLiteral("mnuSysTrayGroupUp"), mnuSysTrayType, QStringLiteral("上一组  [F11]"));
  mnuSysTrayGroupDown =
      command(QStringLiteral("mnuSysTrayGroupDown"), mnuSysTrayType, QStringLiteral("下一组  [F12]"));
  mnuSysTrayState = command(QStringLiteral("mnuSysTrayState"), mnuSysTrayType, QStringLiteral("从统计分布图选择..."));
  mnuSysTrayGame = command(QStringLiteral("mnuSysTrayGame"), mnuSysTrayType, QStringLiteral("单词分组配对游戏..."));
}

void frmSysMenu::CreatePercentAndSoundItems() {
  mnuSysTrayPercent = submenu(QStringLiteral("mnuSysTrayPercent"), mnuSysTray, QStringLiteral("满意率"));
  mnuSysTrayPercent33 = command(QStringLiteral("mnuSysTrayPercent33"), mnuSysTrayPercent, QStringLiteral("33%"));
  mnuSysTrayPercent66 = command(QStringLiteral("mnuSysTrayPercent66"), mnuSysTrayPercent, QStringLiteral("66%"));
  mnuSysTrayPercent80 = command(QStringLiteral("mnuSysTrayPercent80"), mnuSysTrayPercent, QStringLiteral("80%"));
  mnuSysTrayPercent90 = command(QStringLiteral("mnuSysTrayPercent90"), mnuSysTrayPercent, QStringLiteral("90%"));

  mnuSysTraySound = submenu(QStringLiteral("mnuSysTraySound"), mnuSysTray, QStringLiteral("静音/单语/双语"));
  mnuSysTrayNoSound = command(QStringLiteral("mnuSysTrayNoSound"), mnuSysTraySound, QStringLiteral("静音"));
  mnuSysTraySSound = command(QStringLiteral("mnuSysTraySSound"), mnuSysTraySound, QStringLiteral("单语"));
  mnuSysTrayDSound = command(QStringLiteral("mnuSysTrayDSound"), mnuSysTraySound, QStringLiteral("双语"));
}

void frmSysMenu::CreateShowItems() {
  mnuSysTrayShow = submenu(QStringLiteral("mnuSysTrayShow"), mnuSysTray, QStringLiteral("显示"));
  mnuSysTrayShowMain = command(QStringLiteral("mnuSysTrayShowMain"), mnuSysTrayShow, QStringLiteral("播放窗口"));
  mnuSysTrayShowStatus = command(QStringLiteral("mnuSysTrayShowStatus"), mnuSysTrayShow, QStringLiteral("状态栏"));
  mnuSysTrayShowHour = command(QStringLiteral("mnuSysTrayShowHour"), mnuSysTrayShow, QStringLiteral("沙漏图标"));
  mnuSysTrayShowResize =
      command(QStringLiteral("mnuSysTrayShowResize"), mnuSysTrayShow, QStringLiteral("窗口缩放图标"));
  mnuSysTrayShowProgress =
      command(QStringLiteral("mnuSysTrayShowProgress"), mnuSysTrayShow, QStringLiteral("进度图标"));
  mnuSysTrayShowSegNo = command(QStringLiteral("mnuSysTrayShowSegNo"), mnuSysTrayShow, QStringLiteral("分组编号"));
  mnuSysTrayShowCounter =
      command(QStringLiteral("mnuSysTrayShowCounter"), mnuSysTrayShow, QStringLiteral("单词编号"));
  mnuSysTrayShowPhonetic =
      command(QStringLiteral("mnuSysTrayShowPhonetic"), mnuSysTrayShow, QStringLiteral("音标栏"));
  mnuSysTrayShowLongMeaning =
      command(QStringLiteral("mnuSysTrayShowLongMeaning"), mnuSysTrayShow, QStringLiteral("备注栏"));
  mnuSysTrayShowPicture = command(QStringLiteral("mnuSysTrayShowPicture"), mnuSysTrayShow, QStringLiteral("图片栏"));
  S2 = separator(QStringLiteral("S2"), mnuSysTrayShow);
  mnuSysTrayShowMainCenter =
      command(QStringLiteral("mnuSysTrayShowMainCenter"), mnuSysTrayShow, QStringLiteral("到屏幕正中央"));
  S6 = separator(QStringLiteral("S6"), mnuSysTrayShow);
  mnuSysTrayShowGroupKeyword =
      command(QStringLiteral("mnuSysTrayShowGroupKeyword"), mnuSysTrayShow, QStringLiteral("分组符号设定..."));
  mnuSysTrayShowPhoneticKeyword =
      command(QStringLiteral("mnuSysTrayShowPhoneticKeyword"), mnuSysTrayShow, QStringLiteral("音标栏符号设定... "));
  mnuSysTrayShowMeaningKeyword =
      command(QStringLiteral("mnuSysTrayShowMeaningKeyword"), mnuSysTrayShow, QStringLiteral("备注栏符号设定... "));

  mnuSysTrayShowLongMeaningPercent =
      submenu(QStringLiteral("mnuSysTrayShowLongMeaningPercent"), mnuSysTrayShow, QStringLiteral("备注栏字体比例"));
  mnuSysTrayShowLongMeaningPercentH = command(QStringLiteral("mnuSysTrayShowLongMeaningPercentH"),
                                              mnuSysTrayShowLongMeaningPercent, QStringLiteral("50%"));
  mnuSysTrayShowLongMeaningPercentA = command(QStringLiteral("mnuSysTrayShowLongMeaningPercentA"),
                                              mnuSysTrayShowLongMeaningPercent, QStringLiteral("100%"));

  mnuSysTrayShowConfig =
      command(QStringLiteral("mnuSysTrayShowConfig"), mnuSysTrayShow, QStringLiteral("单词标识配置..."));
  mnuSysTrayShowConfig->setVisible(false);
  mnuSysTrayShowConfig->setEnabled(false);

  mnuSysTrayShowMeaningRows =
      submenu(QStringLiteral("mnuSysTrayShowMeaningRows"), mnuSysTrayShow, QStringLiteral("备注行数"));
  mnuSysTrayShowMeaningRow00 =
      command(QStringLiteral("mnuSysTrayShowMeaningRow00"), mnuSysTrayShowMeaningRows, QStringLiteral("自动"));
  mnuSysTrayShowMeaningRow00->setEnabled(false);
  numberedCommands(kMeaningRowItems, QStringLiteral("mnuSysTrayShowMeaningRow"), 1, mnuSysTrayShowMeaningRows,
                   QStringLiteral("行"));
}

void frmSysMenu::CreateWindowItems() {
  S3 = separator(QStringLiteral("S3"), mnuSysTray);
  mnuSysTrayStatistics = command(QStringLiteral("mnuSysTrayStatistics"), mnuSysTray, QStringLiteral("每日进度..."));
  mnuSysTrayAbout = command(QStringLiteral("mnuSysTrayAbout"), mnuSysTray, QStringLiteral("关于..."));
  S4 = separator(QStringLiteral("S4"), mnuSysTray);
  mnuSysTrayExit = command(QStringLiteral("mnuSysTrayExit"), mnuSysTray, QStringLiteral("退出"));
}
