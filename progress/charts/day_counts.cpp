#include "progress/charts/day_counts.h"

#include "core/kill_bas.h"
#include "core/read_ini_bas.h"
#include "platform/ini/ini.h"

#include <algorithm>

namespace {

std::optional<qint64> ParseDayCount(const QString& value) {
  if (value.isEmpty() || IsMissingSetting(value)) return std::nullopt;
  bool isNumber = false;
  const qint64 count = value.trimmed().toLongLong(&isNumber);
  return isNumber && count > 0 ? count : 0;
}

}  // namespace

DayCounts ReadDayCounts(const QDate& today) {
  const QString file = LibrarySettingsFile();
  DayCounts days;
  for (int i = 0; i < kChartDays; ++i) {
    DayCount& day = days[static_cast<size_t>(i)];
    day.date = today.addDays(i - (kChartDays - 1));
    day.count = ParseDayCount(platform::ReadProfileString(file, QStringLiteral("Statistics"), DayCountKey(day.date),
                                                          QStringLiteral("Error"), 255));
  }
  return days;
}

qint64 LargestDayCount(const DayCounts& days) {
  qint64 largest = 0;
  for (const DayCount& day : days) largest = std::max(largest, day.count.value_or(0));
  return largest;
}
