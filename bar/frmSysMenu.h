#pragma once
// The tray menu form: never shown, it only holds the pop-up menu mnuSysTray from which the
// learner sets everything. Items are members named as the program names them. The whole tree
// (member, parent, kind, design caption, click handler) is one table in frmSysMenu.cpp, which
// the constructor walks in menu order; radio and toggle items are commands whose check marks the
// program sets.
//
// Every item that changes a setting stores it at once in the open library's settings file, keeps
// its group's check marks and parent caption in step, changes the setting's shared value and then
// calls what depends on it. The handlers live in files by topic: frmSysMenu_radio.cpp (the radio
// groups, as data), frmSysMenu_learning.cpp, frmSysMenu_colours.cpp, frmSysMenu_display.cpp,
// frmSysMenu_windows.cpp and frmSysMenu_exit.cpp.

#include "platform/dialogs/dialogs.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/menu_item.h"
#include "platform/forms/picture_box.h"

#include <cstdint>
#include <span>

class SkolvaneBar;

class frmSysMenu : public platform::Form, public platform::DefaultInstance<frmSysMenu> {
  Q_OBJECT

 public:
  frmSysMenu();
  ~frmSysMenu() override;

  void Form_Load() override;

  // Handlers. One handler serves every item of the radio groups and one every show toggle: each
  // finds the clicked item in its table (frmSysMenu_radio.cpp, frmSysMenu_display.cpp).
  void RadioItem_Click();
  void ShowToggle_Click();
  void mnuSysTrayColorF_Click();
  void mnuSysTrayColorB_Click();
  void mnuSysTrayColorNull_Click();
  void mnuSysTrayColorTrans_Click();
  void mnuSysTrayFont_Click();
  void mnuSysTrayALL_Click();
  void mnuSysTrayGroup_Click();
  void mnuSysTrayGroupUp_Click();
  void mnuSysTrayGroupDown_Click();
  void mnuSysTrayState_Click();
  void mnuSysTrayStatistics_Click();
  void mnuSysTrayShowGroupKeyword_Click();
  void mnuSysTrayShowPhoneticKeyword_Click();
  void mnuSysTrayShowMeaningKeyword_Click();
  void mnuSysTrayGame_Click();
  void mnuSysTrayAbout_Click();
  void mnuSysTrayExit_Click();
  void mnuSysTrayShowMainCenter_Click();
  // Submenu openings.
  void mnuSysTrayShow_Click();
  void mnuSysTrayType_Click();

  // The bar's phonetic and meaning rows take its word row's colours (colour and Show items).
  static void CopyWordRowColours(SkolvaneBar& bar);

  // The end of the program as Exit brings it for a program started on a library, and as a
  // termination signal brings it whatever the program was started on: the other windows go, then
  // the bar (its unload removes the hot keys and the tray icon and gives the library up).
  // Windows still loaded after that go as well, at once or, with `fromTheMenu`, once the menu's
  // handler has returned.
  static void UnloadEveryWindow(bool fromTheMenu);

  // Puts the Type submenu in step with the segment mode (g_DoSegment), however it changed (the
  // menu, F10, a settings load): "whole library" or "groups" checked, the word game enabled only
  // in group mode.
  void ShowSegmentMode();

  using Item = platform::MenuItem*;

  // The items, one line per submenu (menu order; the table gives parents and captions).
  Item mnuSysTray{};  // the pop-up root
  Item mnuSysTrayLanguage{}, mnuSysTrayLanguageC{}, mnuSysTrayLanguageB{};
  Item mnuSysTrayColor{}, mnuSysTrayColorF{}, mnuSysTrayColorB{}, mnuSysTrayColorNull{}, mnuSysTrayColorTrans{};
  Item mnuSysTrayFont{};
  Item mnuSysTrayInterval{}, mnuSysTrayInterval01{}, mnuSysTrayInterval02{}, mnuSysTrayInterval03{},
      mnuSysTrayInterval04{}, mnuSysTrayInterval05{}, mnuSysTrayInterval06{}, mnuSysTrayInterval07{},
      mnuSysTrayInterval08{}, mnuSysTrayInterval09{}, mnuSysTrayInterval10{};
  Item mnuSysTrayRun{}, mnuSysTrayWait{}, mnuSysTrayNoWait{};
  Item mnuSysTrayMode1{}, mnuSysTrayMode100{}, mnuSysTrayMode101{}, mnuSysTrayMode102{};
  Item mnuSysTrayType{}, mnuSysTrayALL{}, mnuSysTrayGroup{}, S5{}, mnuSysTraySegSize{}, mnuSysTraySegSize30{},
      mnuSysTraySegSize60{}, mnuSysTraySegSize90{}, S1{}, mnuSysTrayGroupUp{}, mnuSysTrayGroupDown{},
      mnuSysTrayState{}, mnuSysTrayGame{};
  Item mnuSysTrayPercent{}, mnuSysTrayPercent33{}, mnuSysTrayPercent66{}, mnuSysTrayPercent80{},
      mnuSysTrayPercent90{};
  Item mnuSysTraySound{}, mnuSysTrayNoSound{}, mnuSysTraySSound{}, mnuSysTrayDSound{};
  Item mnuSysTrayShow{}, mnuSysTrayShowMain{}, mnuSysTrayShowStatus{}, mnuSysTrayShowHour{}, mnuSysTrayShowResize{},
      mnuSysTrayShowProgress{}, mnuSysTrayShowSegNo{}, mnuSysTrayShowCounter{}, mnuSysTrayShowPhonetic{},
      mnuSysTrayShowLongMeaning{}, mnuSysTrayShowPicture{}, S2{}, mnuSysTrayShowMainCenter{}, S6{},
      mnuSysTrayShowGroupKeyword{}, mnuSysTrayShowPhoneticKeyword{}, mnuSysTrayShowMeaningKeyword{};
  Item mnuSysTrayShowLongMeaningPercent{}, mnuSysTrayShowLongMeaningPercentH{}, mnuSysTrayShowLongMeaningPercentA{};
  Item mnuSysTrayShowConfig{};  // never offered: hidden and disabled
  Item mnuSysTrayShowMeaningRows{},
      mnuSysTrayShowMeaningRow00{},  // "automatic": a greyed slot that can never be chosen
      mnuSysTrayShowMeaningRow01{}, mnuSysTrayShowMeaningRow02{}, mnuSysTrayShowMeaningRow03{},
      mnuSysTrayShowMeaningRow04{}, mnuSysTrayShowMeaningRow05{}, mnuSysTrayShowMeaningRow06{},
      mnuSysTrayShowMeaningRow07{}, mnuSysTrayShowMeaningRow08{}, mnuSysTrayShowMeaningRow09{},
      mnuSysTrayShowMeaningRow10{};
  Item S3{}, mnuSysTrayStatistics{}, mnuSysTrayAbout{}, S4{}, mnuSysTrayExit{};

 private:
  // What choosing a command, or opening a submenu, runs.
  using Click = void (frmSysMenu::*)();

  // One row of the menu tree. Rows come in menu order, so a parent's row precedes its children.
  struct TreeRow {
    Item frmSysMenu::*member;     // the member that holds the item; the item is named as the member
    const char16_t* name;
    Item frmSysMenu::*parent;     // nullptr: the root
    platform::MenuItem::Kind kind;
    const char16_t* caption;      // design caption, kept when the language file has none
    Click click = nullptr;        // nullptr: nothing runs
  };
  static std::span<const TreeRow> Tree();

  // The text or back colour chosen in the colour dialog; nothing when the learner cancelled.
  std::optional<QColor> ChooseColour();
  // A colour choice the learner made: the word rows take it, it is stored under `key`, and the
  // colour-follow mode ends, so the chosen colour stays.
  void ApplyChosenColour(const QColor& colour, std::int32_t& global, const QString& key,
                         void (platform::PictureBox::*setColour)(const QColor&));
  // End one of the two colour effects: its value, stored key, working and check mark. Each ends
  // the other when it is switched on, so the menu never shows an effect off that still works.
  void EndColourFollow();
  void EndTranslucency();

  Item clickedItem_ = nullptr;  // the item whose handler runs now
  // The colour dialog's custom colours: black when the form loads. Every opening is offered this
  // table afresh; what the learner defines in the dialog is not kept for the next opening.
  platform::CustomColors customColors_{};
};
