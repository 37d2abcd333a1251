#include "bar/frmSysMenu.h"

#include "core/language_bas.h"

// The menu tree in menu order. ITEM(member, parent, kind, design caption[, click handler]): the
// item's name is its member's, so the two never differ.
std::span<const frmSysMenu::TreeRow> frmSysMenu::Tree() {
  using Kind = platform::MenuItem::Kind;
#define ITEM(member, parent, kind, ...) \
  TreeRow { &frmSysMenu::member, u"" #member, &frmSysMenu::parent, Kind::kind, __VA_ARGS__ }
  static constexpr TreeRow kRows[] = {
      TreeRow{&frmSysMenu::mnuSysTray, u"mnuSysTray", nullptr, Kind::Submenu, u"mnuSysTray"},
      ITEM(mnuSysTrayLanguage, mnuSysTray, Submenu, u"界面语言"),
      ITEM(mnuSysTrayLanguageC, mnuSysTrayLanguage, Command, u"中文", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayLanguageB, mnuSysTrayLanguage, Command, u"英文", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayColor, mnuSysTray, Submenu, u"颜色调整"),
      ITEM(mnuSysTrayColorF, mnuSysTrayColor, Command, u"前景颜色...", &frmSysMenu::mnuSysTrayColorF_Click),
      ITEM(mnuSysTrayColorB, mnuSysTrayColor, Command, u"背景颜色...", &frmSysMenu::mnuSysTrayColorB_Click),
      ITEM(mnuSysTrayColorNull, mnuSysTrayColor, Command, u"变色龙", &frmSysMenu::mnuSysTrayColorNull_Click),
      ITEM(mnuSysTrayColorTrans, mnuSysTrayColor, Command, u"透明", &frmSysMenu::mnuSysTrayColorTrans_Click),
      ITEM(mnuSysTrayFont, mnuSysTray, Command, u"字体调整...", &frmSysMenu::mnuSysTrayFont_Click),
      ITEM(mnuSysTrayInterval, mnuSysTray, Submenu, u"间隔时间"),
      ITEM(mnuSysTrayInterval01, mnuSysTrayInterval, Command, u"1 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval02, mnuSysTrayInterval, Command, u"2 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval03, mnuSysTrayInterval, Command, u"3 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval04, mnuSysTrayInterval, Command, u"4 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval05, mnuSysTrayInterval, Command, u"5 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval06, mnuSysTrayInterval, Command, u"6 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval07, mnuSysTrayInterval, Command, u"7 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval08, mnuSysTrayInterval, Command, u"8 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval09, mnuSysTrayInterval, Command, u"9 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayInterval10, mnuSysTrayInterval, Command, u"10 秒钟", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayRun, mnuSysTray, Submenu, u"等待/非等待 模式"),
      ITEM(mnuSysTrayWait, mnuSysTrayRun, Command, u"等待", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayNoWait, mnuSysTrayRun, Command, u"非等待", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayMode1, mnuSysTray, Submenu, u"简洁浏览/浏览/背颂 模式  [F9]"),
      ITEM(mnuSysTrayMode100, mnuSysTrayMode1, Command, u"简洁浏览", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayMode101, mnuSysTrayMode1, Command, u"浏览", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayMode102, mnuSysTrayMode1, Command, u"背颂", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayType, mnuSysTray, Submenu, u"全文/分组  [F10]", &frmSysMenu::mnuSysTrayType_Click),
      ITEM(mnuSysTrayALL, mnuSysTrayType, Command, u"全文", &frmSysMenu::mnuSysTrayALL_Click),
      ITEM(mnuSysTrayGroup, mnuSysTrayType, Command, u"分组", &frmSysMenu::mnuSysTrayGroup_Click),
      ITEM(S5, mnuSysTrayType, Separator, u"-"),
      ITEM(mnuSysTraySegSize, mnuSysTrayType, Submenu, u"每组大小"),
      ITEM(mnuSysTraySegSize30, mnuSysTraySegSize, Command, u"30", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTraySegSize60, mnuSysTraySegSize, Command, u"60", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTraySegSize90, mnuSysTraySegSize, Command, u"90", &frmSysMenu::RadioItem_Click),
      ITEM(S1, mnuSysTrayType, Separator, u"-"),
      ITEM(mnuSysTrayGroupUp, mnuSysTrayType, Command, u"上一组  [F11]", &frmSysMenu::mnuSysTrayGroupUp_Click),
      ITEM(mnuSysTrayGroupDown, mnuSysTrayType, Command, u"下一组  [F12]", &frmSysMenu::mnuSysTrayGroupDown_Click),
      ITEM(mnuSysTrayState, mnuSysTrayType, Command, u"从统计分布图选择...", &frmSysMenu::mnuSysTrayState_Click),
      ITEM(mnuSysTrayGame, mnuSysTrayType, Command, u"单词分组配对游戏...", &frmSysMenu::mnuSysTrayGame_Click),
      ITEM(mnuSysTrayPercent, mnuSysTray, Submenu, u"满意率"),
      ITEM(mnuSysTrayPercent33, mnuSysTrayPercent, Command, u"33%", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayPercent66, mnuSysTrayPercent, Command, u"66%", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayPercent80, mnuSysTrayPercent, Command, u"80%", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayPercent90, mnuSysTrayPercent, Command, u"90%", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTraySound, mnuSysTray, Submenu, u"静音/单语/双语"),
      ITEM(mnuSysTrayNoSound, mnuSysTraySound, Command, u"静音", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTraySSound, mnuSysTraySound, Command, u"单语", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayDSound, mnuSysTraySound, Command, u"双语", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShow, mnuSysTray, Submenu, u"显示", &frmSysMenu::mnuSysTrayShow_Click),
      ITEM(mnuSysTrayShowMain, mnuSysTrayShow, Command, u"播放窗口", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowStatus, mnuSysTrayShow, Command, u"状态栏", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowHour, mnuSysTrayShow, Command, u"沙漏图标", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowResize, mnuSysTrayShow, Command, u"窗口缩放图标", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowProgress, mnuSysTrayShow, Command, u"进度图标", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowSegNo, mnuSysTrayShow, Command, u"分组编号", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowCounter, mnuSysTrayShow, Command, u"单词编号", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowPhonetic, mnuSysTrayShow, Command, u"音标栏", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowLongMeaning, mnuSysTrayShow, Command, u"备注栏", &frmSysMenu::ShowToggle_Click),
      ITEM(mnuSysTrayShowPicture, mnuSysTrayShow, Command, u"图片栏", &frmSysMenu::ShowToggle_Click),
      ITEM(S2, mnuSysTrayShow, Separator, u"-"),
      ITEM(mnuSysTrayShowMainCenter, mnuSysTrayShow, Command, u"到屏幕正中央", &frmSysMenu::mnuSysTrayShowMainCenter_Click),
      ITEM(S6, mnuSysTrayShow, Separator, u"-"),
      ITEM(mnuSysTrayShowGroupKeyword, mnuSysTrayShow, Command, u"分组符号设定...",
           &frmSysMenu::mnuSysTrayShowGroupKeyword_Click),
      ITEM(mnuSysTrayShowPhoneticKeyword, mnuSysTrayShow, Command, u"音标栏符号设定... ",
           &frmSysMenu::mnuSysTrayShowPhoneticKeyword_Click),
      ITEM(mnuSysTrayShowMeaningKeyword, mnuSysTrayShow, Command, u"备注栏符号设定... ",
           &frmSysMenu::mnuSysTrayShowMeaningKeyword_Click),
      ITEM(mnuSysTrayShowLongMeaningPercent, mnuSysTrayShow, Submenu, u"备注栏字体比例"),
      ITEM(mnuSysTrayShowLongMeaningPercentH, mnuSysTrayShowLongMeaningPercent, Command, u"50%", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowLongMeaningPercentA, mnuSysTrayShowLongMeaningPercent, Command, u"100%", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowConfig, mnuSysTrayShow, Command, u"单词标识配置..."),
      ITEM(mnuSysTrayShowMeaningRows, mnuSysTrayShow, Submenu, u"备注行数"),
      ITEM(mnuSysTrayShowMeaningRow00, mnuSysTrayShowMeaningRows, Command, u"自动"),
      ITEM(mnuSysTrayShowMeaningRow01, mnuSysTrayShowMeaningRows, Command, u"1 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow02, mnuSysTrayShowMeaningRows, Command, u"2 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow03, mnuSysTrayShowMeaningRows, Command, u"3 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow04, mnuSysTrayShowMeaningRows, Command, u"4 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow05, mnuSysTrayShowMeaningRows, Command, u"5 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow06, mnuSysTrayShowMeaningRows, Command, u"6 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow07, mnuSysTrayShowMeaningRows, Command, u"7 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow08, mnuSysTrayShowMeaningRows, Command, u"8 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow09, mnuSysTrayShowMeaningRows, Command, u"9 行", &frmSysMenu::RadioItem_Click),
      ITEM(mnuSysTrayShowMeaningRow10, mnuSysTrayShowMeaningRows, Command, u"10 行", &frmSysMenu::RadioItem_Click),
      ITEM(S3, mnuSysTray, Separator, u"-"),
      ITEM(mnuSysTrayStatistics, mnuSysTray, Command, u"每日进度...", &frmSysMenu::mnuSysTrayStatistics_Click),
      ITEM(mnuSysTrayAbout, mnuSysTray, Command, u"关于...", &frmSysMenu::mnuSysTrayAbout_Click),
      ITEM(S4, mnuSysTray, Separator, u"-"),
      ITEM(mnuSysTrayExit, mnuSysTray, Command, u"退出", &frmSysMenu::mnuSysTrayExit_Click),
  };
#undef ITEM
  return kRows;
}

frmSysMenu::frmSysMenu() : Form(QStringLiteral("frmSysMenu")) {
  for (const TreeRow& row : Tree()) {
    Item item = addMenuItem(QString::fromUtf16(row.name), row.parent ? this->*row.parent : nullptr, row.kind,
                            QString::fromUtf16(row.caption));
    this->*row.member = item;
    if (row.click) {
      item->onClick = [this, item, click = row.click] {
        clickedItem_ = item;
        (this->*click)();
      };
    }
  }
  // Never offered: nothing in the program makes these two available.
  mnuSysTrayShowConfig->setVisible(false);
  mnuSysTrayShowConfig->setEnabled(false);
  mnuSysTrayShowMeaningRow00->setEnabled(false);  // "automatic" stays a greyed slot
}

frmSysMenu::~frmSysMenu() = default;

void frmSysMenu::Form_Load() {
  ApplyFormLanguage(QStringLiteral("frmSysMenu"));
  customColors_.fill(Qt::black);
}
