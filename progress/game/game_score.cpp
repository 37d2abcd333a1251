#include "progress/game/game_score.h"

#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/ini/ini.h"

#include <QLatin1Char>
#include <QStringList>

namespace {

QString TwoDigits(qint64 value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

}  // namespace

QString FormatGameTime(qint64 seconds) {
  if (seconds < 0) seconds = 0;
  return TwoDigits(seconds / 3600) + u':' + TwoDigits(seconds / 60 % 60) + u':' + TwoDigits(seconds % 60);
}

std::optional<qint64> ParseGameTime(const QString& text) {
  const QStringList parts = text.trimmed().split(u':');
  if (parts.size() != 3) return std::nullopt;
  qint64 seconds = 0;
  for (int i = 0; i < 3; ++i) {
    bool ok = false;
    const qint64 value = parts[i].toLongLong(&ok);
    if (!ok || value < 0 || (i > 0 && value > 59)) return std::nullopt;
    seconds = seconds * 60 + value;
  }
  return seconds;
}

bool IsBetterGameResult(int turns, qint64 seconds, const QString& bestTurns, const QString& bestTime) {
  if (turns < 0 || turns > kMaxStoredTurns) return false;
  bool ok = false;
  const int best = bestTurns.trimmed().toInt(&ok);
  if (!ok || turns < best) return true;
  if (turns > best) return false;
  const std::optional<qint64> bestSeconds = ParseGameTime(bestTime);
  return !bestSeconds || seconds < *bestSeconds;
}

bool StoreBestGameScore(int turns, const QString& timeText) {
  g_GameBestScore = TwoDigits(turns);
  g_GameBestTime = timeText;
  g_IniValue = g_GameBestScore + u' ' + g_GameBestTime;
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), QStringLiteral("Normal"),
                                             QStringLiteral("WordGameScore"), g_IniValue);
  return g_IniResult != 0;
}
