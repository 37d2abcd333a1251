#include "core/read_ini_bas.h"

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"

#include <QGuiApplication>
#include <QScreen>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <span>

namespace {

const QString kMissing = QStringLiteral("Error");
const QString kLibrarySection = QStringLiteral("Normal");
const QString kProgramSection = QStringLiteral("Global");
const QString kFlagOn = QStringLiteral("X");

// The lookup chain: the library's value when it has the key (an empty value counts), else
// Settings.ini's; "Error" when neither has it.
QString ReadChainValue(const QString& key) {
  const QString libraryValue = ReadLibraryValue(kLibrarySection, key);
  if (!IsMissingSetting(libraryValue)) return libraryValue;
  return ReadProgramValue(key);
}

// Decimal text rounded to a whole number of type Int, half to even; nothing for any other text.
template <typename Int>
std::optional<Int> ToWholeNumber(const QString& text) {
  bool ok = false;
  const double value = std::nearbyint(text.trimmed().toDouble(&ok));  // the default mode rounds half to even
  if (!ok || !std::isfinite(value) || value < std::numeric_limits<Int>::min() ||
      value > std::numeric_limits<Int>::max()) {
    return std::nullopt;
  }
  return static_cast<Int>(value);
}

// The shortest decimal text that reads back as the same single-precision value ("710", "432.5").
QString ShortestDecimal(float value) {
  char buffer[64];
  const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value, std::chars_format::fixed);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

void WriteProgramDefault(const QString& key, const QString& value) {
  g_IniValue = value;
  g_IniResult = platform::WriteProfileString(ProgramSettingsFile(), kProgramSection, key, g_IniValue);
}

struct DefaultSetting {
  const char* key;
  const char* value;
};

// The defaults written into Settings.ini, in the order they are written.
constexpr DefaultSetting kLearningAndDisplayDefaults[] = {
    {"WordDoSegment", ""},
    {"WordSegmentSize", "30"},
    {"WordSegmentNo", "0001"},
    {"WordSpeed", "5"},
    {"WordSpeak", "0"},
    {"WordLearnMode", "1"},
    {"WordKeyboardKill", "X"},
    {"WordTargetPercentage", "66"},
    {"WordFont", "Arial;0:12"},
    {"WordWait", ""},
    {"WordShowMain", "X"},
    {"WordShowStatus", "X"},
    {"WordShowHour", "X"},
    {"WordShowResize", "X"},
    {"WordShowProgress", "X"},
    {"WordShowSegNo", "X"},
    {"WordShowCounter", "X"},
    {"WordForeColor", "0"},
    {"WordBackColor", "16777215"},
    {"WordColorNull", ""},
    {"WordTransparent", ""},
};
constexpr DefaultSetting kGameAndMarkerDefaults[] = {
    {"WordGameScore", "99 00:59:00"}, {"WordMeaningBarPercent", "50"}, {"WordPhoneticSymbolStart", "["},
    {"WordPhoneticSymbolEnd", "]"},   {"WordGroupSymbolStart", ""},    {"WordGroupSymbolEnd", ""},
};

void WriteProgramDefaults(std::span<const DefaultSetting> defaults) {
  for (const DefaultSetting& setting : defaults) {
    WriteProgramDefault(QString::fromLatin1(setting.key), QString::fromLatin1(setting.value));
  }
}

}  // namespace

bool IsMissingSetting(const QString& value) { return value == kMissing; }

QString ReadLibraryValue(const QString& section, const QString& key) {
  return platform::ReadProfileString(LibrarySettingsFile(), section, key, kMissing);
}

QString ReadProgramValue(const QString& key) {
  return platform::ReadProfileString(ProgramSettingsFile(), kProgramSection, key, kMissing);
}

std::optional<std::int16_t> ToInt16Setting(const QString& text) { return ToWholeNumber<std::int16_t>(text); }

std::optional<std::int32_t> ToInt32Setting(const QString& text) { return ToWholeNumber<std::int32_t>(text); }

QSize ScreenPixels() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry().size();
  return QSize(1024, 768);
}

QString LibrarySettingsFile() {
  constexpr qsizetype kExtensionLength = 4;  // ".abc"
  if (g_LibraryFileName.size() < kExtensionLength) return {};
  return g_LibraryFolder + g_LibraryFileName.chopped(kExtensionLength) + QStringLiteral(".ini");
}

QString ProgramSettingsFile() { return platform::ProgramFolder() + QStringLiteral("Settings.ini"); }

QString InstallerSettingsFile() { return platform::ProfileFolder() + QStringLiteral("CORVELSETUP.ini"); }

bool ReadFlagSetting(const QString& key) { return ReadChainValue(key) == kFlagOn; }

QString ReadSetting(const QString& key, const QString& defaultValue) {
  const QString value = ReadChainValue(key);
  return IsMissingSetting(value) ? defaultValue : value;
}

QString ReadSetting(const QString& key, int defaultValue) {
  return ReadSetting(key, QString::number(defaultValue));
}

QString ReadSymbolSetting(const QString& key, const QString& defaultValue) {
  const QString libraryValue = ReadLibraryValue(kLibrarySection, key);
  if (!IsMissingSetting(libraryValue) && !libraryValue.isEmpty()) return libraryValue;
  if (IsMissingSetting(libraryValue)) {
    const QString programValue = ReadProgramValue(key);
    if (!IsMissingSetting(programValue) && !programValue.isEmpty()) return programValue;
  }
  // The default stands in for the missing or empty marker and is stored in the library file, so
  // the file holds the key from now on.
  const QString result = defaultValue.trimmed();
  g_IniValue = result;
  platform::WriteProfileString(LibrarySettingsFile(), kLibrarySection, key, g_IniValue);
  return result;
}

std::int32_t ReadNumberSetting(const QString& key, std::int32_t currentValue) {
  return ToInt32Setting(ReadChainValue(key)).value_or(currentValue);
}

void WriteDefaultSettings() {
  const QSize screen = ScreenPixels();
  WriteProgramDefault(QStringLiteral("WindowX"),
                      ShortestDecimal((static_cast<float>(screen.width()) - 500.0f) / 2.0f));
  WriteProgramDefault(QStringLiteral("WindowY"),
                      ShortestDecimal((static_cast<float>(screen.height()) - 100.0f) / 2.0f));
  WriteProgramDefault(QStringLiteral("WindowW"), QStringLiteral("400"));
  WriteProgramDefaults(kLearningAndDisplayDefaults);
  // The interface language is the one the installer chose, written as read ("Error" without one).
  WriteProgramDefault(QStringLiteral("WordUILanguage"),
                      platform::ReadProfileString(InstallerSettingsFile(), QStringLiteral("GLOBAL"),
                                                  QStringLiteral("LANGUAGE"), kMissing));
  WriteProgramDefaults(kGameAndMarkerDefaults);
}
