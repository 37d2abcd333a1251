#include "core/settings_load_bas.h"

#include "core/text_drawing_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/word_font_bas.h"
#include "core/window_effects_bas.h"
#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/row_heights_bas.h"
#include "core/speech_bas.h"
#include "core/vars_bas.h"
#include "platform/app/user_identity.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

namespace {

const QString kMenu = QStringLiteral("frmSysMenu");

// The bar's place and width: the library settings file's `librarySection` first, then
// Settings.ini; empty when neither has the key, which converts to no number like an empty value.
QString ReadBarPlaceSetting(const QString& librarySection, const QString& key) {
  const QString libraryValue = ReadLibraryValue(librarySection, key);
  if (!IsMissingSetting(libraryValue)) return libraryValue;
  const QString programValue = ReadProgramValue(key);
  return IsMissingSetting(programValue) ? QString() : programValue;
}

// Checks the item whose value matches and captions the submenu from the matching key; a value
// that matches no item leaves the menu as it was.
struct Choice {
  const char* value;
  platform::MenuItem* item;
  const char* captionKey;
};

void CheckMatching(std::initializer_list<Choice> choices, const QString& value, platform::MenuItem* submenu) {
  for (const Choice& choice : choices) {
    if (value != QLatin1String(choice.value)) continue;
    choice.item->setChecked(true);
    submenu->setCaption(GetMenuText(choice.captionKey));
    return;
  }
}

QString FirstCharacter(const QString& text) { return text.left(1); }

// The phonetic end symbol is one character, except the word "<FOLLOW_SPACE>", which the word
// drawing turns into "the next blank": cut to "<" it would close phonetic parts at every "<".
QString PhoneticEndSymbol(const QString& stored) {
  return stored.contains(FollowSpaceSymbol()) ? FollowSpaceSymbol() : FirstCharacter(stored);
}

QString SymbolCaption(const char* key, const QString& start, const QString& end) {
  return GetMenuText(key) + start + QStringLiteral(" ") + end;
}

void LoadLanguage(frmSysMenu& menu) {
  g_UILanguage = ReadSetting(QStringLiteral("WordUILanguage"), QStringLiteral("C"));
  if (g_UILanguage.isEmpty()) g_UILanguage = QStringLiteral("C");
  if (g_UILanguage == QLatin1String("C")) {
    menu.mnuSysTrayLanguageC->setChecked(true);
    menu.mnuSysTrayLanguage->setCaption(GetMenuText("mnuSysTrayLanguage_A"));
  } else {
    menu.mnuSysTrayLanguageB->setChecked(true);
    menu.mnuSysTrayLanguage->setCaption(GetMenuText("mnuSysTrayLanguage_B"));
  }
}

void LoadLearnMode(frmSysMenu& menu) {
  g_LearnMode = ToInt16Setting(ReadSetting(QStringLiteral("WordLearnMode"), 1)).value_or(1);
  CheckMatching({{"0", menu.mnuSysTrayMode100, "mnuSysTrayMode1_A"},
                 {"1", menu.mnuSysTrayMode101, "mnuSysTrayMode1_B"},
                 {"2", menu.mnuSysTrayMode102, "mnuSysTrayMode1_C"}},
                QString::number(g_LearnMode), menu.mnuSysTrayMode1);
}

void LoadSpeed(frmSysMenu& menu) {
  // The interval is whole seconds; a value the 16-bit millisecond arithmetic cannot hold, or one
  // that would stop the bar for good, counts as missing.
  std::int32_t seconds = ReadNumberSetting(QStringLiteral("WordSpeed"), 1);
  if (seconds < 1 || seconds > std::numeric_limits<std::int16_t>::max() / 1000) seconds = 1;
  g_Speed = seconds * 1000;
  const std::array items{menu.mnuSysTrayInterval01, menu.mnuSysTrayInterval02, menu.mnuSysTrayInterval03,
                         menu.mnuSysTrayInterval04, menu.mnuSysTrayInterval05, menu.mnuSysTrayInterval06,
                         menu.mnuSysTrayInterval07, menu.mnuSysTrayInterval08, menu.mnuSysTrayInterval09,
                         menu.mnuSysTrayInterval10};
  const int index = std::min(seconds, 10) - 1;  // the last item also stands for every longer interval
  items[static_cast<std::size_t>(index)]->setChecked(true);
  const QString key = QStringLiteral("mnuSysTrayInterval_") + QChar(u'A' + index);
  menu.mnuSysTrayInterval->setCaption(GetUIText(kMenu, key));
}

void LoadWindowPlace() {
  const QSize screen = ScreenPixels();
  g_WindowW = ToInt16Setting(ReadBarPlaceSetting(QStringLiteral("Normal"), QStringLiteral("WindowW"))).value_or(432);
  g_WindowX = ToInt32Setting(ReadBarPlaceSetting(g_ComputerSection, QStringLiteral("WindowX")))
                  .value_or(screen.width() - 480);
  g_WindowY = ToInt32Setting(ReadBarPlaceSetting(g_ComputerSection, QStringLiteral("WindowY")))
                  .value_or(screen.height() - 45);
  g_ColorSampleX = g_WindowX;
  g_ColorSampleY = g_WindowY;
}

void LoadColours(frmSysMenu& menu) {
  g_ForeColor = ReadNumberSetting(QStringLiteral("WordForeColor"), 0);
  g_BackColor = ReadNumberSetting(QStringLiteral("WordBackColor"), 16777215);
  g_ColorNull = ReadFlagSetting(QStringLiteral("WordColorNull"));
  menu.mnuSysTrayColorNull->setChecked(g_ColorNull);
  menu.mnuSysTrayColor->setCaption(GetMenuText(g_ColorNull ? "mnuSysTrayColor_A" : "mnuSysTrayColor"));
}

void LoadSound(frmSysMenu& menu) {
  g_SoundMode = ReadSetting(QStringLiteral("WordSpeak"), QStringLiteral("1"));
  if (g_SoundMode == QLatin1String("X")) g_SoundMode = QStringLiteral("1");
  if (g_SoundMode.isEmpty()) g_SoundMode = QStringLiteral("0");
  CheckMatching({{"0", menu.mnuSysTrayNoSound, "mnuSysTraySound_A"},
                 {"1", menu.mnuSysTraySSound, "mnuSysTraySound_B"},
                 {"2", menu.mnuSysTrayDSound, "mnuSysTraySound_C"}},
                g_SoundMode, menu.mnuSysTraySound);
}

void LoadSegment(frmSysMenu& menu) {
  g_SegmentNo = ReadSetting(QStringLiteral("WordSegmentNo"), QStringLiteral("0001"));
  g_SegmentSize = ReadSetting(QStringLiteral("WordSegmentSize"), QStringLiteral("30"));
  CheckMatching({{"30", menu.mnuSysTraySegSize30, "mnuSysTraySegSize_A"},
                 {"60", menu.mnuSysTraySegSize60, "mnuSysTraySegSize_B"},
                 {"90", menu.mnuSysTraySegSize90, "mnuSysTraySegSize_C"}},
                g_SegmentSize, menu.mnuSysTraySegSize);
  g_DoSegment = ReadFlagSetting(QStringLiteral("WordDoSegment"));
  menu.ShowSegmentMode();
  if (!g_DoSegment) menu.mnuSysTrayType->setCaption(GetMenuText("mnuSysTrayType_B"));
}

void LoadShowFlags(frmSysMenu& menu) {
  g_ShowMain = ReadFlagSetting(QStringLiteral("WordShowMain"));
  menu.mnuSysTrayShowMain->setChecked(g_ShowMain);
  // Hidden at once when off; shown by the fit that places it (FitBarToRows), so that it never
  // appears at the screen's corner while the rest of the load runs.
  SkolvaneBar& bar = SkolvaneBar::instance();
  if (!bar.VisibleBySettings()) bar.hide();

  struct Flag {
    const char* key;
    bool* value;
    platform::MenuItem* item;
  };
  const std::array flags{
      Flag{"WordShowPhonetic", &g_ShowPhonetic, menu.mnuSysTrayShowPhonetic},
      Flag{"WordShowLongMeaning", &g_ShowLongMeaning, menu.mnuSysTrayShowLongMeaning},
      Flag{"WordShowPicture", &g_ShowPicture, menu.mnuSysTrayShowPicture},
      Flag{"WordShowStatus", &g_ShowStatus, menu.mnuSysTrayShowStatus},
      Flag{"WordShowHour", &g_ShowHour, menu.mnuSysTrayShowHour},
      Flag{"WordShowResize", &g_ShowResize, menu.mnuSysTrayShowResize},
      Flag{"WordShowProgress", &g_ShowProgress, menu.mnuSysTrayShowProgress},
      Flag{"WordShowSegNo", &g_ShowSegNo, menu.mnuSysTrayShowSegNo},
      Flag{"WordShowCounter", &g_ShowCounter, menu.mnuSysTrayShowCounter},
  };
  for (const Flag& flag : flags) {
    *flag.value = ReadFlagSetting(QString::fromLatin1(flag.key));
    flag.item->setChecked(*flag.value);
  }
}

void LoadTargetPercentage(frmSysMenu& menu) {
  g_TargetPercentage = ReadSetting(QStringLiteral("WordTargetPercentage"), QStringLiteral("66"));
  const std::array<std::pair<const char*, platform::MenuItem*>, 4> items{
      {{"33", menu.mnuSysTrayPercent33}, {"66", menu.mnuSysTrayPercent66}, {"80", menu.mnuSysTrayPercent80},
       {"90", menu.mnuSysTrayPercent90}}};
  for (const auto& [value, item] : items) {
    if (g_TargetPercentage != QLatin1String(value)) continue;
    item->setChecked(true);
    menu.mnuSysTrayPercent->setCaption(GetMenuText("mnuSysTrayPercent_A") + QStringLiteral(" [") + value +
                                       QStringLiteral("%]"));
  }
}

void LoadMeaningPercent(frmSysMenu& menu) {
  // A share beyond 16 bits would size the meaning font and rows past what the layout can hold.
  g_MeaningBarPercent = ToInt16Setting(ReadSetting(QStringLiteral("WordMeaningBarPercent"), 50)).value_or(50);
  if (g_MeaningBarPercent == 50) {
    menu.mnuSysTrayShowLongMeaningPercentH->setChecked(true);
  } else {
    menu.mnuSysTrayShowLongMeaningPercentA->setChecked(true);
  }
}

void LoadFont(frmSysMenu& menu) {
  g_FontSpec = ReadSetting(QStringLiteral("WordFont"), QStringLiteral("SimSun;0:9"));
  const QString shown = g_FontSpec.left(g_FontSpec.indexOf(QChar(u'\0')));  // all of it without a NUL
  menu.mnuSysTrayFont->setCaption(GetMenuText("mnuSysTrayFont_A") + QStringLiteral(" [") + shown + QStringLiteral("]"));
  ApplyWordFontSpec(g_FontSpec);
}

void LoadWait(frmSysMenu& menu) {
  g_Wait = ReadFlagSetting(QStringLiteral("WordWait"));
  if (g_Wait) {
    menu.mnuSysTrayWait->setChecked(true);
    menu.mnuSysTrayRun->setCaption(GetMenuText("mnuSysTrayRun_A"));
  } else {
    menu.mnuSysTrayNoWait->setChecked(true);
    menu.mnuSysTrayRun->setCaption(GetMenuText("mnuSysTrayRun_B"));
  }
}

void LoadTransparency(frmSysMenu& menu) {
  g_Transparent = ReadFlagSetting(QStringLiteral("WordTransparent"));
  if (g_Transparent) {
    MakeBarTranslucent();
  } else {
    MakeBarOpaque();
  }
  menu.mnuSysTrayColorTrans->setChecked(g_Transparent);
}

void SplitGameScore(const QString& value) {
  g_GameBestScore = value.left(2);
  g_GameBestTime = value.mid(3);
}

void LoadGameScore() {
  g_GameBestScore = QStringLiteral("99");
  g_GameBestTime = QStringLiteral("00:59:00");
  const QString key = QStringLiteral("WordGameScore");
  const QString libraryValue = ReadLibraryValue(QStringLiteral("Normal"), key);
  if (libraryValue.isEmpty()) return;
  if (!IsMissingSetting(libraryValue)) {
    SplitGameScore(libraryValue);
    return;
  }
  const QString programValue = ReadProgramValue(key);
  if (!IsMissingSetting(programValue)) SplitGameScore(programValue);
}

void LoadMeaningRows(frmSysMenu& menu) {
  // The menu offers 1 to 10 rows; a hand-edited value outside takes the nearest of them.
  g_MeaningRows = static_cast<std::int16_t>(
      std::clamp<int>(ToInt16Setting(ReadSetting(QStringLiteral("WordMeaningRows"), 1)).value_or(1), 1, 10));
  const std::array items{menu.mnuSysTrayShowMeaningRow01, menu.mnuSysTrayShowMeaningRow02,
                         menu.mnuSysTrayShowMeaningRow03, menu.mnuSysTrayShowMeaningRow04,
                         menu.mnuSysTrayShowMeaningRow05, menu.mnuSysTrayShowMeaningRow06,
                         menu.mnuSysTrayShowMeaningRow07, menu.mnuSysTrayShowMeaningRow08,
                         menu.mnuSysTrayShowMeaningRow09, menu.mnuSysTrayShowMeaningRow10};
  items[static_cast<std::size_t>(g_MeaningRows - 1)]->setChecked(true);
  menu.mnuSysTrayShowMeaningRows->setCaption(
      GetUIText(kMenu, QStringLiteral("mnuSysTrayShowMeaningRows_") + QChar(u'A' + (g_MeaningRows - 1))));
}

}  // namespace

void ApplyWordFontSpec(const QString& wordFont) {
  SkolvaneBar& bar = SkolvaneBar::instance();
  platform::PictureBox& word = *bar.Pic_ShowText;
  if (const std::optional<double> size = ApplyWordFont(word, wordFont)) {
    word.twips().setHeight(TextRowTwips(*size));
    g_TextBoxHeight = static_cast<int>(std::lround(word.twips().height()));
  }
  DeriveMeaningAndPhoneticFonts();
}

void DeriveMeaningAndPhoneticFonts() {
  SkolvaneBar& bar = SkolvaneBar::instance();
  const platform::PictureBox& word = *bar.Pic_ShowText;
  const double wordSize = word.font().pointSizeF();
  const double percent = g_MeaningBarPercent / 100.0;

  platform::PictureBox& meaning = *bar.Pic_ShowLongMeaning;
  QFont meaningFont = word.font();
  if (wordSize * percent > 0) meaningFont.setPointSizeF(wordSize * percent);
  meaning.setFont(meaningFont);
  meaning.setFontCharset(word.fontCharset());
  meaning.twips().setHeight(MeaningBoxTwips(wordSize));

  platform::PictureBox& phonetic = *bar.Pic_ShowPhonetic;
  QFont phoneticFont = word.font();
  if (wordSize / 2 > 0) phoneticFont.setPointSizeF(wordSize / 2);
  phonetic.setFont(phoneticFont);
  phonetic.setFontCharset(word.fontCharset());
  phonetic.twips().setHeight(word.twips().height() / 2);
}

void LoadSettings() {
  frmSysMenu& menu = frmSysMenu::instance();
  // Every check mark comes from the settings read below; a menu kept loaded from an earlier bar
  // (Exit back to the library manager) must not keep its old ones beside them.
  for (QObject* control : menu.controls()) {
    if (auto* item = qobject_cast<platform::MenuItem*>(control)) item->setChecked(false);
  }
  SelectWordVoice();
  SelectMeaningVoice();
  LoadLanguage(menu);
  LoadLearnMode(menu);
  LoadSpeed(menu);
  LoadWindowPlace();
  LoadColours(menu);
  LoadSound(menu);
  LoadSegment(menu);
  LoadShowFlags(menu);
  LoadTargetPercentage(menu);
  g_UserIdentity = platform::UserIdentity();
  LoadMeaningPercent(menu);

  g_PhoneticSymbolStart = FirstCharacter(ReadSymbolSetting(QStringLiteral("WordPhoneticSymbolStart"), QStringLiteral("[")));
  g_PhoneticSymbolEnd = PhoneticEndSymbol(ReadSymbolSetting(QStringLiteral("WordPhoneticSymbolEnd"), QStringLiteral("]")));
  menu.mnuSysTrayShowPhoneticKeyword->setCaption(
      SymbolCaption("mnuSysTrayShowPhoneticKeyword", g_PhoneticSymbolStart, g_PhoneticSymbolEnd));

  LoadFont(menu);
  LoadWait(menu);
  LoadTransparency(menu);
  LoadGameScore();

  g_MeaningSymbolStart = FirstCharacter(ReadSymbolSetting(QStringLiteral("WordMeaningSymbolStart"), QStringLiteral("(")));
  g_MeaningSymbolEnd = FirstCharacter(ReadSymbolSetting(QStringLiteral("WordMeaningSymbolEnd"), QStringLiteral(")")));
  menu.mnuSysTrayShowMeaningKeyword->setCaption(
      SymbolCaption("mnuSysTrayShowMeaningKeyword", g_MeaningSymbolStart, g_MeaningSymbolEnd));

  LoadMeaningRows(menu);

  g_GroupSymbolStart = FirstCharacter(ReadSymbolSetting(QStringLiteral("WordGroupSymbolStart"), QStringLiteral(" "))).trimmed();
  g_GroupSymbolEnd = FirstCharacter(ReadSymbolSetting(QStringLiteral("WordGroupSymbolEnd"), QStringLiteral(" "))).trimmed();
  menu.mnuSysTrayShowGroupKeyword->setCaption(
      SymbolCaption("mnuSysTrayShowGroupKeyword", g_GroupSymbolStart, g_GroupSymbolEnd));
}
