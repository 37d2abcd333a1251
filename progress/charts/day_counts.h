#pragma once
// The words killed on each of the last 31 days, today included, as the kills counted them in
// section "Statistics" of the library's settings file (key "YYYYMMDD").

#include <QDate>
#include <QString>

#include <array>
#include <optional>

inline constexpr int kChartDays = 31;

struct DayCount {
  QDate date;
  // The day's count; nothing when the day has no entry. A stored value that is not a whole
  // number, or is negative, counts as 0.
  std::optional<qint64> count;
};

// Days 30 days before `today` (index 0) to `today` (index 30).
using DayCounts = std::array<DayCount, kChartDays>;

DayCounts ReadDayCounts(const QDate& today);

// The largest count of the days, 0 when none has one.
qint64 LargestDayCount(const DayCounts& days);
