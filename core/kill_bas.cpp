#include "core/kill_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/cycle_bas.h"
#include "core/do_loading_bas.h"
#include "core/language_bas.h"
#include "core/library_file_stamp.h"
#include "core/progress_texts_bas.h"
#include "core/read_ini_bas.h"
#include "core/segments_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/ini/ini.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <vector>

namespace {

const QString kStatisticsSection = QStringLiteral("Statistics");
const QString kMissing = QStringLiteral("Error");

void StopWordTimer() {
  if (SkolvaneBar::loaded()) SkolvaneBar::instance().Tim_Wait->setEnabled(false);
}

// Index of the last stored line of the raw table (line 0 is the header, never a word).
int LastStoredLine() { return std::min<int>(g_LineCountCopy, static_cast<int>(std::ssize(g_WordLines)) - 1); }

bool IsCycleRow(int row) { return row >= 0 && row < g_CycleCount && row < std::ssize(g_CycleTable); }

std::optional<int> DecimalIndex(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

// The cycle rows that may hold the word on the bar, most likely first. A step shows row p - 1 and
// then moves the position on (not in hold mode); a wheel turn, and the kill without rebuild,
// leave the position at or one past the row they showed; after the last row the position wraps.
std::vector<int> CandidateRows() {
  const int position = g_CyclePos;
  std::vector<int> rows;
  if (g_Wait) {
    rows = {position - 1, position - 2};
  } else {
    rows = {position - 2, position - 1};
  }
  if (position <= g_CycleFirst) rows.push_back(g_CycleLast - 1);
  return rows;
}

// The library line of cycle row `row`, through the segment line it comes from.
std::optional<ShownWord> TraceRow(int row) {
  if (!IsCycleRow(row)) return std::nullopt;
  const std::optional<int> segmentRow = DecimalIndex(g_CycleTable[static_cast<size_t>(row)].segmentIndex);
  if (!segmentRow || *segmentRow < 0 || *segmentRow >= std::ssize(g_SegmentLines)) return std::nullopt;
  const SegmentLine& line = g_SegmentLines[static_cast<size_t>(*segmentRow)];
  const std::optional<int> rawLine = DecimalIndex(line.rawIndex);
  if (!rawLine || *rawLine < 1 || *rawLine > LastStoredLine()) return std::nullopt;
  return ShownWord{row, *segmentRow, *rawLine, line.text};
}

// The raw line of `word` after the library was read again: the line it had when it still holds
// the word, otherwise the first line that does (lines may have moved). Nothing when it is gone.
std::optional<int> FindWordAfterReload(const ShownWord& word) {
  const auto holdsWord = [&](int line) { return g_WordLines[static_cast<size_t>(line)] == word.segmentText; };
  if (word.rawLine >= 1 && word.rawLine <= LastStoredLine() && holdsWord(word.rawLine)) return word.rawLine;
  for (int line = 1; line <= LastStoredLine(); ++line) {
    if (holdsWord(line)) return line;
  }
  return std::nullopt;
}

void TellLibraryChangedOutside(const ShownWord& word) {
  platform::MsgBox(GetMessageText(QStringLiteral("kill_bas"), QStringLiteral("LibraryChangedOutside"),
                                  QStringLiteral("The word library \"%1\" was changed outside the program and no "
                                                 "longer holds \"%2\", so nothing was marked or written. The bar "
                                                 "now goes on with the library as it is on disk."))
                       .arg(g_LibraryPath, word.segmentText));
}

void TellLibraryBeingChanged() {
  platform::MsgBox(GetMessageText(QStringLiteral("kill_bas"), QStringLiteral("LibraryBeingChanged"),
                                  QStringLiteral("The word library \"%1\" is being changed by another program, so "
                                                 "the word was not marked and the file was left alone. Kill the "
                                                 "word again once the other program is done with the library."))
                       .arg(g_LibraryPath));
}

// How often a kill marks and saves again when another program replaced the library while the kill
// was writing it.
constexpr int kSaveTries = 3;

// Puts "*" before the shown word's line and writes the library; true when the file now holds the
// mark. Nothing is marked when the raw line no longer is the word (another library, or the line
// rewritten meanwhile), or when the word was already killed: the kill that keeps the cycle leaves
// its row in the cycle, so the same word can come up again before the next rebuild.
// When someone else changed the library file since it was read or saved, it is read again first
// (`reloaded` is set, the segment tables no longer match it) and the word is looked up by its
// text; a file another program keeps writing is left alone and the learner told. The same happens
// when the save finds, just before it would replace the file, that the file changed or another
// program has it open for writing: the next round waits for that program and reads the file again.
bool MarkLine(ShownWord word, bool& reloaded) {
  bool readAgain = LibraryFileChanged(g_LibraryPath);
  for (int attempt = 1;; ++attempt) {
    if (readAgain) {
      const LibraryLoad load = ReloadSettledWordLibrary();
      if (load == LibraryLoad::BeingChanged) {
        TellLibraryBeingChanged();
        return false;
      }
      reloaded = true;
      if (load == LibraryLoad::Refused) return false;  // the loader has told why
      const std::optional<int> line = FindWordAfterReload(word);
      if (!line) {
        TellLibraryChangedOutside(word);
        return false;
      }
      word.rawLine = *line;
    }
    if (word.rawLine < 1 || word.rawLine > LastStoredLine()) return false;
    QString& raw = g_WordLines[static_cast<size_t>(word.rawLine)];
    if (raw != word.segmentText || raw.startsWith(u'*')) return false;
    raw = QStringLiteral("*") + word.segmentText;
    switch (SaveWordLibrary()) {
      case LibrarySave::Saved: return true;
      // A failed save has told the learner; the kill is not counted, so the settings file stays
      // as it was too.
      case LibrarySave::Failed: return false;
      case LibrarySave::ChangedOutside: break;
    }
    // The table is the file as read, not as it now is: the next round reads it again.
    raw = word.segmentText;
    readAgain = true;
    if (attempt == kSaveTries) {
      TellLibraryBeingChanged();
      return false;
    }
  }
}

QString EmptyCycleStatusText() {
  return GetUIText(QStringLiteral("SkolvaneBar"),
                   g_DoSegment ? QStringLiteral("Lbl_SysInfo_E") : QStringLiteral("Lbl_SysInfo_B"));
}

// In learn mode 2 every word has two rows; an odd position (a word row) goes back to the row
// before it, so the cycle moves on by whole words.
void StepBackToWholeWord() {
  if (g_CyclePos % 2 != 0) --g_CyclePos;
}

// The position after a kill with rebuild: on by one unless the hold setting is on, and back to
// the start past the end. Counted in int: the 16-bit position must not wrap past its limit.
std::int16_t PositionAfterRebuild() {
  const int position = g_Wait ? g_CyclePos : g_CyclePos + 1;
  return static_cast<std::int16_t>(position > g_CycleCount ? 1 : position);
}

}  // namespace

std::optional<ShownWord> FindShownWord() {
  if (g_CycleCount <= 0) return std::nullopt;
  for (const int row : CandidateRows()) {
    if (!IsCycleRow(row) || g_CycleTable[static_cast<size_t>(row)].text != g_CurrentText) continue;
    if (std::optional<ShownWord> word = TraceRow(row)) return word;
  }
  return std::nullopt;
}

void KillCurrentWord() { KillCurrentWord(FindShownWord()); }

void KillCurrentWord(const std::optional<ShownWord>& shown) {
  StopWordTimer();
  // The word after the kill is to be spoken even when it equals the last one, and only once.
  g_KillSpeakCount = 0;
  g_LastSpokenWord = QStringLiteral(":");
  g_KillSpeaking = true;
  g_KillSavedPos = g_CyclePos;
  QCoreApplication::processEvents();
  g_ResampleColor = true;

  bool reloaded = false;
  const bool marked = shown && MarkLine(*shown, reloaded);
  // The library read again has other line numbers than the kept cycle: cut it anew.
  if (reloaded) PrepareSegment(false);

  // A wheel turn while messages ran may have moved the position: go back to where the kill began.
  g_CyclePos = g_KillSavedPos;
  if (g_CycleCount != 0) {
    if (g_LearnMode == 2) {
      StepBackToWholeWord();
    } else {
      --g_CyclePos;
    }
    ShowCurrentItem();
  } else {
    g_CurrentText = EmptyCycleStatusText();
  }
  if (marked) CountKillToday();
  g_ResampleColor = false;
  RefreshInfoLabels();
  g_KillSpeaking = false;
  g_KillSpeakCount = 0;
  AdvanceCyclePosition();
}

void KillCurrentWordAndRebuild() { KillCurrentWordAndRebuild(FindShownWord()); }

void KillCurrentWordAndRebuild(const std::optional<ShownWord>& shown) {
  StopWordTimer();
  QCoreApplication::processEvents();

  bool reloaded = false;
  const bool marked = shown && MarkLine(*shown, reloaded);

  PrepareSegment(true);
  if (g_CycleCount != 0) {
    if (g_LearnMode == 2) StepBackToWholeWord();
    g_CyclePos = PositionAfterRebuild();
  } else {
    g_CurrentText = EmptyCycleStatusText();
  }
  if (marked) CountKillToday();

  if (SkolvaneBar::loaded()) {
    SkolvaneBar& bar = SkolvaneBar::instance();
    if (g_Wait) {
      bar.runtimer();
    } else {
      bar.Tim_Wait->setEnabled(true);
    }
  }
  RefreshInfoLabels();
}

QString DayCountKey(const QDate& date) {
  return QStringLiteral("%1%2%3")
      .arg(date.year())
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(date.day(), 2, 10, QLatin1Char('0'));
}

void CountKillToday() {
  const QString file = LibrarySettingsFile();
  const QString key = DayCountKey(QDate::currentDate());
  const QString old = platform::ReadProfileString(file, kStatisticsSection, key, kMissing, 255);
  bool isNumber = false;
  const qint64 earlier = old.trimmed().toLongLong(&isNumber);
  const qint64 count = isNumber && earlier > 0 && earlier < std::numeric_limits<qint64>::max() ? earlier + 1 : 1;
  g_IniValue = QString::number(count);
  platform::WriteProfileString(file, kStatisticsSection, key, g_IniValue);
}
