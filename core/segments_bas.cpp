#include "core/segments_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/cycle_bas.h"
#include "core/do_loading_bas.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"

#include <QLatin1Char>
#include <QStringView>

#include <algorithm>
#include <vector>
#include <array>
#include <cstdint>
#include <iterator>

namespace {


// Index of the last stored line: g_LineCountCopy, bounded by what the raw line table holds.
qint64 LastStoredLine() {
  const qint64 stored = std::ssize(g_WordLines) - 1;
  return std::clamp<qint64>(g_LineCountCopy, 0, std::max<qint64>(stored, 0));
}

// The raw lines first..last within the stored lines: the header line (index 0) and indices past
// the last stored line are never part of a segment.
RawLineRange StoredRange(qint64 first, qint64 last) {
  return {std::max<qint64>(first, 1), std::min(last, LastStoredLine())};
}

// Makes the raw lines first..last the segment line table. Returns the number of lines copied.
std::int16_t CopyRawLines(qint64 requestedFirst, qint64 requestedLast) {
  const RawLineRange range = StoredRange(requestedFirst, requestedLast);
  const qint64 first = range.first;
  const qint64 count = range.count();
  g_SegmentLines.resize(static_cast<size_t>(count));
  for (qint64 k = 0; k < count; ++k) {
    SegmentLine& row = g_SegmentLines[static_cast<size_t>(k)];
    const QString& line = g_WordLines[static_cast<size_t>(first + k)];
    if (!row.text.isSharedWith(line)) row.text = line;  // a rebuild mostly finds the same line
    AssignDecimal(row.rawIndex, first + k);
  }
  // A stored line index is 16-bit, so the count of lines after the header is too.
  return static_cast<std::int16_t>(count);
}

// ---- Group segments -----------------------------------------------------------------------------

// Groups the group table really describes: g_GroupCount, bounded by the table and the data model.
int GroupsInTable() {
  const qint64 rows = std::max<qint64>(std::ssize(g_Groups) - 1, 0);  // row 0 is unused
  return static_cast<int>(std::clamp<qint64>(g_GroupCount, 0, std::min<qint64>(rows, kMaxWordGroups)));
}

bool IsGroupNumber(int group) { return group >= 1 && group <= GroupsInTable(); }

QString GroupCaption(int group) { return IsGroupNumber(group) ? g_Groups[static_cast<size_t>(group)].header : QString(); }

qint64 GroupLineCount(int group) {
  return IsGroupNumber(group) ? std::max<qint64>(g_Groups[static_cast<size_t>(group)].lineCount, 0) : 0;
}

// Raw index of the first line after the header of `group`. Each group is its header followed by
// its lines, and the groups follow one another to the end of the library. Lines between the
// header line and the first group header belong to no group; the library's line count tells how
// many there are (in the usual layout none, and group 1's header is raw line 1).
qint64 FirstLineOfGroup(int group) {
  const int groups = GroupsInTable();
  qint64 linesBefore = 0;
  qint64 groupedLines = 0;
  for (int p = 1; p <= groups; ++p) {
    groupedLines += GroupLineCount(p);
    if (p < group) linesBefore += GroupLineCount(p);
  }
  const qint64 ungrouped = std::max<qint64>(LastStoredLine() - groups - groupedLines, 0);
  return ungrouped + linesBefore + group + 1;
}

RawLineRange GroupRange(int group) {
  if (!IsGroupNumber(group)) return {};
  const qint64 first = FirstLineOfGroup(group);
  return StoredRange(first, first + GroupLineCount(group) - 1);
}

QString CutGroupSegment() {
  const int group = SegmentSettingNumber(g_SegmentNo).value_or(0);
  const int lastGroup = std::max<int>(g_GroupCount, 1);
  g_GroupName = GroupCaption(group);
  g_SegmentCount = QString::number(lastGroup);
  const RawLineRange range = GroupRange(group);
  g_LineCount = CopyRawLines(range.first, range.last);
  // The progress texts count groups here, not lines.
  g_SegmentLineCount = static_cast<std::int16_t>(lastGroup);
  return GetMenuText("mnuSysTrayType_A1") + g_GroupName + u'/' + GroupCaption(lastGroup) + GetMenuText("mnuSysTrayType_A2");
}

// ---- Fixed segments and the whole library -------------------------------------------------------

RawLineRange FixedRange(int segment, int size) {
  if (size <= 0) return {};
  const qint64 first = (static_cast<qint64>(segment) - 1) * size + 1;
  return StoredRange(first, first + size - 1);
}

QString CutFixedSegment() {
  const int size = SegmentSettingNumber(g_SegmentSize).value_or(0);
  const int count = FixedSegmentCount(static_cast<int>(LastStoredLine()), size);
  g_SegmentCount = QString::number(count);
  const std::optional<int> segment = SegmentSettingNumber(g_SegmentNo);
  const RawLineRange range = segment ? FixedRange(*segment, size) : RawLineRange{};
  g_SegmentLineCount = CopyRawLines(range.first, range.last);
  return SegmentsCaption(count);
}

QString CutWholeLibrary() {
  CopyRawLines(1, LastStoredLine());
  return WholeLibraryCaption();
}

QString CutCurrentSegment() {
  switch (CurrentSegmentKind()) {
    case SegmentKind::Group:
      return CutGroupSegment();
    case SegmentKind::Fixed:
      return CutFixedSegment();
    case SegmentKind::WholeLibrary:
      break;
  }
  return CutWholeLibrary();
}

}  // namespace

SegmentKind CurrentSegmentKind() {
  if (!g_DoSegment) return SegmentKind::WholeLibrary;
  if (g_GroupSymbolStart.isEmpty() || g_GroupSymbolEnd.isEmpty()) return SegmentKind::Fixed;
  return SegmentKind::Group;
}

int FixedSegmentCount(int lineCount, int segmentSize) {
  if (segmentSize <= 0 || lineCount <= 0) return 0;
  return lineCount / segmentSize + (lineCount % segmentSize > 0 ? 1 : 0);
}

std::optional<int> SegmentSettingNumber(const QString& text) {
  bool ok = false;
  const int number = text.trimmed().toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

void AssignDecimal(QString& target, qint64 number) {
  // The tables hold one index text per row, and the same numbers come up in every table and every
  // rebuild: each number's text is made once and shared (a copy of a QString allocates nothing),
  // which spares tens of thousands of small allocations when a large library is first cut.
  constexpr qint64 kSharedNumbers = 1 << 15;  // every line index a library can have
  static std::vector<QString> shared(kSharedNumbers);
  if (number >= 0 && number < kSharedNumbers) {
    QString& text = shared[static_cast<size_t>(number)];
    if (text.isNull()) text = QString::number(number);
    if (!target.isSharedWith(text)) target = text;
    return;
  }
  target = QString::number(number);
}

QString FormatSegmentNumber(qint64 number) { return QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0')); }

QString SegmentsCaption(qint64 segmentCount) {
  return GetMenuText("mnuSysTrayType_A1") + g_SegmentNo + u'/' + FormatSegmentNumber(segmentCount) +
         GetMenuText("mnuSysTrayType_A2");
}

QString WholeLibraryCaption() {
  return GetMenuText("mnuSysTrayType_C1") + FormatSegmentNumber(g_LineCountCopy) + GetMenuText("mnuSysTrayType_C2");
}

RawLineRange SegmentRawLines(int number) {
  switch (CurrentSegmentKind()) {
    case SegmentKind::Group:
      return GroupRange(number);
    case SegmentKind::Fixed:
      return FixedRange(number, SegmentSettingNumber(g_SegmentSize).value_or(0));
    case SegmentKind::WholeLibrary:
      break;
  }
  return {};
}

void PrepareSegment(bool startTimer) {
  frmSysMenu::instance().mnuSysTrayType->setCaption(CutCurrentSegment());
  RearrangeWordList();
  g_SegmentRebuilt = false;
  // Shown until the next word step replaces it; an empty cycle keeps the status text it set.
  if (g_CycleCount > 0) g_CurrentText = GetUIText(QStringLiteral("SkolvaneBar"), QStringLiteral("Lbl_SysInfo_A"));
  if (!SkolvaneBar::loaded()) return;
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.Tim_Wait->setInterval(g_Speed);
  if (startTimer) bar.Tim_Wait->setEnabled(true);
  bar.Pic_SegNo->setVisible(g_DoSegment);
}
