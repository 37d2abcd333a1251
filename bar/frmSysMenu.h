#pragma once
// The tray menu form: never shown, it only holds the pop-up menu mnuSysTray from which the
// learner sets everything. Items are members named as the program names them, created in menu
// order under their parents with their design captions; radio and toggle items are commands
// whose check marks the program sets.

#include "platform/forms/default_instance.h"
#include "platform/forms/menu_item.h"

#include <span>

class frmSysMenu : public platform::Form, public platform::DefaultInstance<frmSysMenu> {
  Q_OBJECT

 public:
  frmSysMenu();
  ~frmSysMenu() override;

  void Form_Load() override;

  using Item = platform::MenuItem*;

  Item mnuSysTray;  // the pop-up root

  Item mnuSysTrayLanguage;
  Item mnuSysTrayLanguageC;
  Item mnuSysTrayLanguageB;

  Item mnuSysTrayColor;
  Item mnuSysTrayColorF;
  Item mnuSysTrayColorB;
  Item mnuSysTrayColorNull;
  Item mnuSysTrayColorTrans;

  Item mnuSysTrayFont;

  Item mnuSysTrayInterval;
  Item mnuSysTrayInterval01;
  Item mnuSysTrayInterval02;
  Item mnuSysTrayInterval03;
  Item mnuSysTrayInterval04;
  Item mnuSysTrayInterval05;
  Item mnuSysTrayInterval06;
  Item mnuSysTrayInterval07;
  Item mnuSysTrayInterval08;
  Item mnuSysTrayInterval09;
  Item mnuSysTrayInterval10;

  Item mnuSysTrayRun;
  Item mnuSysTrayWait;
  Item mnuSysTrayNoWait;

  Item mnuSysTrayMode1;
  Item mnuSysTrayMode100;
  Item mnuSysTrayMode101;
  Item mnuSysTrayMode102;

  Item mnuSysTrayType;
  Item mnuSysTrayALL;
  Item mnuSysTrayGroup;
  Item S5;
  Item mnuSysTraySegSize;
  Item mnuSysTraySegSize30;
  Item mnuSysTraySegSize60;
  Item mnuSysTraySegSize90;
  Item S1;
  Item mnuSysTrayGroupUp;
  Item mnuSysTrayGroupDown;
  Item mnuSysTrayState;
  Item mnuSysTrayGame;  // enabled only in segment mode

  Item mnuSysTrayPercent;
  Item mnuSysTrayPercent33;
  Item mnuSysTrayPercent66;
  Item mnuSysTrayPercent80;
  Item mnuSysTrayPercent90;

  Item mnuSysTraySound;
  Item mnuSysTrayNoSound;
  Item mnuSysTraySSound;
  Item mnuSysTrayDSound;

  Item mnuSysTrayShow;
  Item mnuSysTrayShowMain;
  Item mnuSysTrayShowStatus;
  Item mnuSysTrayShowHour;
  Item mnuSysTrayShowResize;
  Item mnuSysTrayShowProgress;
  Item mnuSysTrayShowSegNo;
  Item mnuSysTrayShowCounter;
  Item mnuSysTrayShowPhonetic;
  Item mnuSysTrayShowLongMeaning;
  Item mnuSysTrayShowPicture;
  Item S2;
  Item mnuSysTrayShowMainCenter;
  Item S6;
  Item mnuSysTrayShowGroupKeyword;
  Item mnuSysTrayShowPhoneticKeyword;
  Item mnuSysTrayShowMeaningKeyword;
  Item mnuSysTrayShowLongMeaningPercent;
  Item mnuSysTrayShowLongMeaningPercentH;
  Item mnuSysTrayShowLongMeaningPercentA;
  Item mnuSysTrayShowConfig;  // never offered: hidden and disabled
  Item mnuSysTrayShowMeaningRows;
  Item mnuSysTrayShowMeaningRow00;  // "automatic": a greyed slot that can never be chosen
  Item mnuSysTrayShowMeaningRow01;
  Item mnuSysTrayShowMeaningRow02;
  Item mnuSysTrayShowMeaningRow03;
  Item mnuSysTrayShowMeaningRow04;
  Item mnuSysTrayShowMeaningRow05;
  Item mnuSysTrayShowMeaningRow06;
  Item mnuSysTrayShowMeaningRow07;
  Item mnuSysTrayShowMeaningRow08;
  Item mnuSysTrayShowMeaningRow09;
  Item mnuSysTrayShowMeaningRow10;

  Item S3;
  Item mnuSysTrayStatistics;
  Item mnuSysTrayAbout;
  Item S4;
  Item mnuSysTrayExit;

 private:
  Item submenu(const QString& name, Item parent, const QString& caption);
  Item command(const QString& name, Item parent, const QString& caption);
  Item separator(const QString& name, Item parent);
  // Creates the items prefix + "01", "02" ... into the given members, captioned with their number,
  // a blank and the unit.
  void numberedCommands(std::span<Item frmSysMenu::* const> members, const QString& prefix, int firstNumber,
                        Item parent, const QString& unit);

  void CreateLanguageAndColorItems();
  void CreateTimingAndModeItems();
  void CreateTypeItems();
  void CreatePercentAndSoundItems();
  void CreateShowItems();
  void CreateWindowItems();
};

// Empties the colour dialog's custom colours, so colours a learner defined are not offered again.
void ClearCustomColors();
