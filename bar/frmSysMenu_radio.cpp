// The tray menu's radio groups, written as data: each group names its items, the value each
// stands for, the settings key and the parent caption, and what the change sets and calls. One
// handler serves every item: it finds the clicked item's group and runs the item pattern.
#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "bar/menu_settings_write.h"
#include "core/KeyBoardHook_bas.h"
#include "core/bar_fitting_bas.h"
#include "core/language_bas.h"
#include "core/progress_texts_bas.h"
#include "core/segments_bas.h"
#include "core/settings_load_bas.h"
#include "core/vars_bas.h"

#include <span>

namespace {

using Item = frmSysMenu::Item;
using Member = Item frmSysMenu::*;

// One item of a group: the value it stands for (written under the group's key) and the
// language-file key that captions the group's parent while it is checked (nullptr: none).
struct Choice {
  Member item;
  const char* value;
  const char* parentCaption = nullptr;
};

struct RadioGroup {
  std::span<const Choice> choices;
  const char* key;  // settings key; nullptr when the group's own procedure stores the value
  Member parent;
  bool onlyWhenUnchecked;  // a click on the checked item does nothing at all
  // Sets the shared value (and the bar) for choice `index`, before the value is written.
  void (*apply)(int index, const QString& value);
  // Called last, once the value is stored and the menu is in step; nullptr: nothing.
  void (*then)(int index) = nullptr;
  // Builds the parent's caption from the choice's caption text and value (nullptr: the text).
  QString (*caption)(const QString& text, const QString& value) = nullptr;
};

SkolvaneBar* LoadedBar() { return SkolvaneBar::loaded() ? &SkolvaneBar::instance() : nullptr; }

void LayOutAndFit() {
  if (SkolvaneBar* bar = LoadedBar()) {
    bar->AdjustObjects();
    FitBarToRows();
  }
}

constexpr Choice kLanguages[] = {{&frmSysMenu::mnuSysTrayLanguageC, "C"}, {&frmSysMenu::mnuSysTrayLanguageB, "A"}};

constexpr Choice kIntervals[] = {
    {&frmSysMenu::mnuSysTrayInterval01, "1", "mnuSysTrayInterval_A"},
    {&frmSysMenu::mnuSysTrayInterval02, "2", "mnuSysTrayInterval_B"},
    {&frmSysMenu::mnuSysTrayInterval03, "3", "mnuSysTrayInterval_C"},
    {&frmSysMenu::mnuSysTrayInterval04, "4", "mnuSysTrayInterval_D"},
    {&frmSysMenu::mnuSysTrayInterval05, "5", "mnuSysTrayInterval_E"},
    {&frmSysMenu::mnuSysTrayInterval06, "6", "mnuSysTrayInterval_F"},
    {&frmSysMenu::mnuSysTrayInterval07, "7", "mnuSysTrayInterval_G"},
    {&frmSysMenu::mnuSysTrayInterval08, "8", "mnuSysTrayInterval_H"},
    {&frmSysMenu::mnuSysTrayInterval09, "9", "mnuSysTrayInterval_I"},
    {&frmSysMenu::mnuSysTrayInterval10, "10", "mnuSysTrayInterval_J"},
};

constexpr Choice kWaitModes[] = {{&frmSysMenu::mnuSysTrayWait, "X", "mnuSysTrayRun_A"},
                                 {&frmSysMenu::mnuSysTrayNoWait, "", "mnuSysTrayRun_B"}};

// The learn-mode switch stores the mode and captions the parent itself.
constexpr Choice kLearnModes[] = {{&frmSysMenu::mnuSysTrayMode100, "0"},
                                  {&frmSysMenu::mnuSysTrayMode101, "1"},
                                  {&frmSysMenu::mnuSysTrayMode102, "2"}};

constexpr Choice kSegmentSizes[] = {{&frmSysMenu::mnuSysTraySegSize30, "30", "mnuSysTraySegSize_A"},
                                    {&frmSysMenu::mnuSysTraySegSize60, "60", "mnuSysTraySegSize_B"},
                                    {&frmSysMenu::mnuSysTraySegSize90, "90", "mnuSysTraySegSize_C"}};

constexpr Choice kTargetRates[] = {{&frmSysMenu::mnuSysTrayPercent33, "33", "mnuSysTrayPercent_A"},
                                   {&frmSysMenu::mnuSysTrayPercent66, "66", "mnuSysTrayPercent_A"},
                                   {&frmSysMenu::mnuSysTrayPercent80, "80", "mnuSysTrayPercent_A"},
                                   {&frmSysMenu::mnuSysTrayPercent90, "90", "mnuSysTrayPercent_A"}};

constexpr Choice kSoundModes[] = {{&frmSysMenu::mnuSysTrayNoSound, "0", "mnuSysTraySound_A"},
                                  {&frmSysMenu::mnuSysTraySSound, "1", "mnuSysTraySound_B"},
                                  {&frmSysMenu::mnuSysTrayDSound, "2", "mnuSysTraySound_C"}};

constexpr Choice kMeaningSizes[] = {{&frmSysMenu::mnuSysTrayShowLongMeaningPercentH, "50"},
                                    {&frmSysMenu::mnuSysTrayShowLongMeaningPercentA, "100"}};

constexpr Choice kMeaningRows[] = {
    {&frmSysMenu::mnuSysTrayShowMeaningRow01, "1", "mnuSysTrayShowMeaningRows_A"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow02, "2", "mnuSysTrayShowMeaningRows_B"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow03, "3", "mnuSysTrayShowMeaningRows_C"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow04, "4", "mnuSysTrayShowMeaningRows_D"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow05, "5", "mnuSysTrayShowMeaningRows_E"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow06, "6", "mnuSysTrayShowMeaningRows_F"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow07, "7", "mnuSysTrayShowMeaningRows_G"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow08, "8", "mnuSysTrayShowMeaningRows_H"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow09, "9", "mnuSysTrayShowMeaningRows_I"},
    {&frmSysMenu::mnuSysTrayShowMeaningRow10, "10", "mnuSysTrayShowMeaningRows_J"},
};

// The speaker icon is the word step's business in every sound mode: a mode change hides it.
void HideSpeaker() {
  if (SkolvaneBar* bar = LoadedBar()) bar->Pic_Speak[0]->hide();
}

const RadioGroup kGroups[] = {
    {kLanguages, "WordUILanguage", &frmSysMenu::mnuSysTrayLanguage, true,
     [](int, const QString& value) { g_UILanguage = value; },
     // The settings load captions the parent, and every other item, in the new language.
     [](int) {
       ApplyFormLanguage(QStringLiteral("frmSysMenu"));
       LoadSettings();
       ApplyStatusRowLanguage();
     }},
    {kIntervals, "WordSpeed", &frmSysMenu::mnuSysTrayInterval, false,
     [](int, const QString& value) {
       g_Speed = value.toInt() * 1000;
       // The timer keeps running or holding as it was; only its interval changes.
       if (SkolvaneBar* bar = LoadedBar()) bar->Tim_Wait->setInterval(g_Speed);
     }},
    {kWaitModes, "WordWait", &frmSysMenu::mnuSysTrayRun, true,
     [](int, const QString& value) { g_Wait = !value.isEmpty(); },
     [](int) {
       if (SkolvaneBar* bar = LoadedBar()) {
         bar->Tim_Wait->setEnabled(!g_Wait);
         bar->AdjustObjects();
       }
     }},
    {kLearnModes, nullptr, &frmSysMenu::mnuSysTrayMode1, true,
     [](int index, const QString&) {
       SwitchLearnMode(index);
       ReportIfSettingsWriteFailed();
     }},
    {kSegmentSizes, "WordSegmentSize", &frmSysMenu::mnuSysTraySegSize, false,
     [](int, const QString& value) { g_SegmentSize = value; },
     // Rebuilt with the timer as it was (the wait mode keeps holding), and the status row counts
     // the new segments at once.
     [](int) {
       PrepareSegment(false);
       RefreshInfoLabels();
     }},
    {kTargetRates, "WordTargetPercentage", &frmSysMenu::mnuSysTrayPercent, false,
     [](int, const QString& value) { g_TargetPercentage = value; }, [](int) { RefreshInfoLabels(); },
     [](const QString& text, const QString& value) { return text + QStringLiteral(" [") + value + QStringLiteral("%]"); }},
    {kSoundModes, "WordSpeak", &frmSysMenu::mnuSysTraySound, false,
     [](int, const QString& value) {
       HideSpeaker();
       g_SoundMode = value;
     }},
    {kMeaningSizes, "WordMeaningBarPercent", &frmSysMenu::mnuSysTrayShowLongMeaningPercent, false,
     [](int, const QString& value) {
       g_MeaningBarPercent = value.toInt();
       // The meaning rows' font follows the share at once, not only at the next start.
       if (LoadedBar() != nullptr) DeriveMeaningAndPhoneticFonts();
     },
     [](int) { LayOutAndFit(); }},
    {kMeaningRows, "WordMeaningRows", &frmSysMenu::mnuSysTrayShowMeaningRows, false,
     [](int, const QString& value) { g_MeaningRows = static_cast<std::int16_t>(value.toInt()); },
     [](int) { LayOutAndFit(); }},
};

}  // namespace

void frmSysMenu::RadioItem_Click() {
  for (const RadioGroup& group : kGroups) {
    for (std::size_t index = 0; index < group.choices.size(); ++index) {
      const Choice& choice = group.choices[index];
      if (this->*choice.item != clickedItem_) continue;
      if (group.onlyWhenUnchecked && clickedItem_->checked()) return;
      const QString value = QString::fromUtf8(choice.value);
      group.apply(static_cast<int>(index), value);
      if (group.key != nullptr) WriteMenuSetting(QString::fromUtf8(group.key), value);
      for (const Choice& other : group.choices) (this->*other.item)->setChecked(&other == &choice);
      if (choice.parentCaption != nullptr) {
        const QString text = GetMenuText(choice.parentCaption);
        (this->*group.parent)->setCaption(group.caption ? group.caption(text, value) : text);
      }
      if (group.then) group.then(static_cast<int>(index));
      return;
    }
  }
}
