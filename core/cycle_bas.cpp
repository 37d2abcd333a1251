#include "core/cycle_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/language_bas.h"
#include "core/segments_bas.h"
#include "core/speech_bas.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "core/window_effects_bas.h"
#include "platform/dialogs/dialogs.h"

#include <QLocale>
#include <QStringView>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace {

constexpr QStringView kTwoBlanks = u"  ";
constexpr QStringView kMeaningMark = u"> ";

// Killed words ("*"), comments ("/") and header lines ("{") are never shown.
bool IsShownLine(const QString& line) {
  if (line.isEmpty()) return false;
  const QChar first = line.front();
  return first != u'*' && first != u'/' && first != u'{';
}

int ItemsPerLine(int learnMode) {
  switch (learnMode) {
    case 0:
    case 1:
      return 1;
    case 2:
      return 2;
    default:
      return 0;
  }
}

// Writes the items of one build into g_CycleTable from row 0, reusing the rows (and their
// buffers) of the previous build.
class CycleWriter {
 public:
  int count() const { return count_; }
  bool hasRoomFor(int items) const { return count_ + items <= kMaxCycleItems; }

  CycleRow& append(int segmentRow) {
    if (std::ssize(g_CycleTable) == count_) g_CycleTable.emplace_back();
    CycleRow& row = g_CycleTable[static_cast<size_t>(count_++)];
    AssignDecimal(row.segmentIndex, segmentRow);
    return row;
  }

  // Rows past the new cycle are dropped, so the table holds exactly g_CycleCount rows.
  void finish() const { g_CycleTable.resize(static_cast<size_t>(count_)); }

 private:
  int count_ = 0;
};

void SetAtPosition(CycleRow& row, qsizetype at) {
  if (at >= 0) {
    AssignDecimal(row.atPosition, at + 1);  // 1-based
  } else {
    row.atPosition.resize(0);
  }
}

// Overwrites `target` with the parts joined, reusing its buffer: a rebuild mostly writes the
// same texts again.
void AssignText(QString& target, std::initializer_list<QStringView> parts) {
  qsizetype size = 0;
  for (const QStringView part : parts) size += part.size();
  target.resize(0);  // keeps the buffer unless it is shared
  if (target.capacity() < size) target.reserve(size);  // reserve itself may reallocate every time
  for (const QStringView part : parts) target.append(part);
}

// Appends the items line `line` (segment row `segmentRow`) makes in the current learn mode.
void AppendItems(CycleWriter& out, QStringView line, int segmentRow) {
  const qsizetype at = line.indexOf(u'@');
  const QStringView word = at >= 0 ? line.left(at) : line;
  const QStringView rest = at >= 0 ? line.sliced(at + 1) : QStringView();
  switch (g_LearnMode) {
    case 0: {
      CycleRow& row = out.append(segmentRow);
      AssignText(row.text, {word, at >= 0 ? QStringView() : kTwoBlanks});
      SetAtPosition(row, at);
      break;
    }
    case 1: {
      CycleRow& row = out.append(segmentRow);
      AssignText(row.text, {word, kTwoBlanks, rest});  // rest is empty without "@"
      SetAtPosition(row, at);
      break;
    }
    case 2: {
      CycleRow& wordRow = out.append(segmentRow);
      AssignText(wordRow.text, {word, kTwoBlanks});
      SetAtPosition(wordRow, -1);
      CycleRow& meaningRow = out.append(segmentRow);
      AssignText(meaningRow.text, {kMeaningMark, rest});
      SetAtPosition(meaningRow, -1);
      break;
    }
    default:
      break;
  }
}

// The number of segment rows the cycle is built from. Also settles g_LineCount as the rest of
// the program reads it: the whole library's last index, the lines of the fixed segment, or the
// lines of the group, which become the in-memory segment size (nothing is written to a file).
int SegmentRowsToRead() {
  switch (CurrentSegmentKind()) {
    case SegmentKind::WholeLibrary:
      g_LineCount = g_LineCountCopy;
      break;
    case SegmentKind::Fixed:
      // Always the lines just copied: a count left by another kind of segment would read rows of
      // an earlier segment or leave lines of this one out.
      g_LineCount = g_SegmentLineCount;
      break;
    case SegmentKind::Group:
      g_SegmentSize = QString::number(g_LineCount);
      break;
  }
  return static_cast<int>(std::clamp<qsizetype>(g_LineCount, 0, std::ssize(g_SegmentLines)));
}

void StopWordTimer() {
  if (SkolvaneBar::loaded()) SkolvaneBar::instance().Tim_Wait->setEnabled(false);
}

void ShowEmptyCycleStatus() {
  StopWordTimer();
  g_CurrentText = GetUIText(QStringLiteral("SkolvaneBar"),
                            g_DoSegment ? QStringLiteral("Lbl_SysInfo_E") : QStringLiteral("Lbl_SysInfo_B"));
  DrawWordText(g_CurrentText, QStringLiteral("U"));
}

// The position a rebuild continues from: two items back when the cycle runs on by itself (the
// step has already moved past the item on the bar), kept in hold mode; then within the new cycle.
void PlacePositionInNewCycle() {
  int position = g_CyclePos;
  if (!g_Wait) position = position > 2 ? position - 2 : 1;
  const int limit = g_Wait ? g_CycleCount + 1 : g_CycleCount;
  if (position > limit) position = g_CycleCount;
  g_CyclePos = static_cast<std::int16_t>(position);
}

}  // namespace

QString CycleTooLongMessage(const QString& firstWordLeftOut) {
  return GetMessageText(QStringLiteral("cycle_bas"), QStringLiteral("CycleTooLong"),
                        QStringLiteral("This part of the library makes more than %1 items, the most the word cycle "
                                       "can hold, so the cycle ends before \"%2\". Learn by segments or in another "
                                       "learn mode to reach the words from there on."))
      .arg(QLocale(QLocale::English).toString(kMaxCycleItems), firstWordLeftOut);
}

const CycleRow* CycleRowAt(int row) {
  if (row < 0 || row >= static_cast<int>(g_CycleTable.size())) return nullptr;
  return &g_CycleTable[static_cast<size_t>(row)];
}

QString CycleRowText(int row) {
  const CycleRow* cycleRow = CycleRowAt(row);
  return cycleRow != nullptr ? cycleRow->text : QString();
}

void RearrangeWordList() {
  g_CycleCount = 0;
  const int rows = SegmentRowsToRead();
  const int itemsPerLine = ItemsPerLine(g_LearnMode);
  g_CycleTable.reserve(static_cast<size_t>(std::min(rows * itemsPerLine, kMaxCycleItems)));
  CycleWriter out;
  int firstRowLeftOut = -1;
  for (int k = 0; k < rows; ++k) {
    const QString& line = g_SegmentLines[static_cast<size_t>(k)].text;
    if (!IsShownLine(line)) continue;
    if (!out.hasRoomFor(itemsPerLine)) {
      firstRowLeftOut = k;
      break;
    }
    AppendItems(out, line, k);
  }
  out.finish();
  g_CycleCount = static_cast<std::int16_t>(out.count());

  if (g_CyclePos == -1) g_CyclePos = 1;
  if (g_CycleCount == 0) ShowEmptyCycleStatus();
  g_CycleFirst = 1;
  PlacePositionInNewCycle();
  g_CycleLast = g_CycleCount;
  if (g_DoSegment) g_SegmentCycleCount = g_CycleCount;

  // Told last, once the cycle is whole: the message box lets timers and hot keys run meanwhile,
  // and a rebuild they start must find the state settled.
  const bool wasCut = std::exchange(g_CycleIsCut, firstRowLeftOut >= 0);
  if (g_CycleIsCut && !wasCut) {
    const QString& line = g_SegmentLines[static_cast<size_t>(firstRowLeftOut)].text;
    const qsizetype at = line.indexOf(u'@');
    platform::MsgBox(CycleTooLongMessage(at >= 0 ? line.left(at) : line));
  }
}

void ShowCurrentItem() {
  if (g_CyclePos < 0) g_CyclePos = 0;
  if (g_ResampleColor) {
    GetScreenPixel();
    g_ResampleColor = false;
  }
  if (g_CyclePos < 1 || g_CyclePos > g_CycleCount || g_CyclePos > std::ssize(g_CycleTable)) return;
  g_CurrentText = g_CycleTable[static_cast<size_t>(g_CyclePos - 1)].text;
  if (g_SoundMode == "1" || g_SoundMode == "2") SpeakCurrentText();
}

void AdvanceCyclePosition() {
  const int first = g_CycleFirst;
  const int last = g_CycleLast;
  const int position = g_CyclePos;
  if (!g_SegmentRebuilt && position > last) {
    g_CyclePos = static_cast<std::int16_t>(first);
  } else if (position != first) {
    // After a segment step that kept the old cycle, only the start of the range moves on.
    if (g_SegmentRebuilt) return;
    const int next = std::max(position, first) + 1;
    g_CyclePos = static_cast<std::int16_t>(position == last || next > last ? first : next);
    return;
  }
  ShowCurrentItem();
  int next = g_CyclePos;
  if (last > 0) ++next;
  if (next > last) next = first;
  g_CyclePos = static_cast<std::int16_t>(next);
}
