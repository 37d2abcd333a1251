#include "core/language_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/progress_texts_bas.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/app/qt_translations.h"
#include "platform/forms/captioned.h"
#include "platform/forms/form.h"
#include "platform/ini/ini.h"

#include <QApplication>
#include <QStringView>
#include <QWidget>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const QString kMissing = QStringLiteral("Error");  // the readers' default: the key is missing
const QString kDefaultLetter = QStringLiteral("C");
const QString kLetterKey = QStringLiteral("WordUILanguage");
constexpr int kValueBuffer = 255;

// The windows whose controls take their captions from the language files, in the program's order.
constexpr std::array<QStringView, 16> kLocalisedWindows = {
    u"frmManager",      u"frmStatisticsG",     u"frmStatisticsA",     u"frmDayStatistics",
    u"frmSysMenu",      u"frmGame",            u"frmCampaignButton",  u"frmSendProgress",
    u"frmTopList",      u"SkolvaneBar",        u"frmWebDownloadConn", u"frmWebDownload",
    u"frmWebDownloadProgress", u"frmGroupKeyword", u"frmMeaningKeyword", u"frmPhoneticKeyword",
};

bool IsLocalisedWindow(const QString& name) {
  return std::find(kLocalisedWindows.begin(), kLocalisedWindows.end(), QStringView(name)) != kLocalisedWindows.end();
}

QString LanguageFile() {
  return platform::ProgramFolder() + QStringLiteral("LANG_") + g_UILanguage + QStringLiteral(".dat");
}

// The value under the key in the current language file, or nothing when it is missing.
std::optional<QString> ReadLanguageValue(const QString& section, const QString& key) {
  QString value = platform::ReadProfileString(LanguageFile(), section, key, kMissing, kValueBuffer);
  if (const qsizetype nul = value.indexOf(QChar(u'\0')); nul >= 0) value.truncate(nul);
  if (value == kMissing) return std::nullopt;
  return value;
}

// A language letter as a settings file holds it. An empty value names no file (it would select
// "LANG_.dat"), so it counts as missing like "Error".
std::optional<QString> StoredLetter(const QString& value) {
  if (IsMissingSetting(value) || value.isEmpty()) return std::nullopt;
  return value;
}

QString ProgramWideLetter() { return StoredLetter(ReadProgramValue(kLetterKey)).value_or(kDefaultLetter); }

// A letter left empty by the start-up takes the installation's value, so that the captions and
// the texts of one window never come from different languages.
void EnsureUILanguage() {
  if (g_UILanguage.isEmpty()) g_UILanguage = ProgramWideLetter();
  FollowUILanguageInQtTexts();
}

// While a library is open its own letter wins, so a language switch from the tray menu (stored
// in the library's settings) takes effect at the next window that loads.
void ResolveLetterFor(const QString& formName) {
  if (formName == QStringLiteral("frmManager") || g_LibraryFileName.isEmpty()) {
    EnsureUILanguage();
    return;
  }
  if (const auto libraryLetter = StoredLetter(ReadLibraryValue(QStringLiteral("Normal"), kLetterKey))) {
    g_UILanguage = *libraryLetter;
  } else {
    g_UILanguage = ProgramWideLetter();
  }
  FollowUILanguageInQtTexts();
}

}  // namespace

void FollowUILanguageInQtTexts() {
  platform::UseQtTranslations(g_UILanguage == QLatin1String("C") ? QStringLiteral("zh_CN") : QString());
}

QString GetUIText(const QString& section, const QString& key) {
  EnsureUILanguage();
  return ReadLanguageValue(section, key).value_or(QString());
}

void ApplyFormLanguage(const QString& formName) {
  ResolveLetterFor(formName);
  if (!IsLocalisedWindow(formName)) return;
  // Forms are top-level widgets from their creation, shown or not. An unloaded form whose deletion
  // is still pending may share the name; captioning it as well does no harm.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* form = qobject_cast<platform::Form*>(widget);
    if (form != nullptr && form->name() == formName) ApplyLanguageTexts(*form);
  }
}

void ApplyLanguageTexts(platform::Form& form) {
  const QString section = form.name();
  for (QObject* control : form.controls()) {
    auto* captioned = dynamic_cast<platform::Captioned*>(control);
    if (captioned == nullptr) continue;  // picture boxes, timers: nothing to caption
    if (const auto value = ReadLanguageValue(section, control->objectName())) captioned->setCaption(*value);
  }
}

QString GetMenuText(const QString& key) { return GetUIText(QStringLiteral("frmSysMenu"), key); }

QString GetMessageText(const QString& section, const QString& key, const QString& fallback) {
  const QString text = GetUIText(section, key);
  return text.isEmpty() ? fallback : text;
}

void ApplyStatusRowLanguage() {
  if (!SkolvaneBar::loaded()) return;
  const QString section = QStringLiteral("SkolvaneBar");
  // An empty range leaves the progress texts as they are: the caption is then what the row shows.
  if (const auto caption = ReadLanguageValue(section, QStringLiteral("Lbl_SysInfo")))
    SkolvaneBar::instance().Lbl_SysInfo->setCaption(*caption);
  RefreshInfoLabels();
}
