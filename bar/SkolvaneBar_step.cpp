// The heartbeat of the bar: one step of the word cycle per word interval, the wheel step over
// the word row, the position marker and the paint handlers.
#include "bar/SkolvaneBar.h"
#include "core/KeyBoardHook_bas.h"
#include "core/speech_bas.h"
#include "core/cycle_bas.h"
#include "core/progress_texts_bas.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "core/window_effects_bas.h"
#include "core/word_pictures_bas.h"

#include <QPainter>

#include <iterator>
#include <limits>

namespace {

constexpr double kMarkerWidth = 15;  // twips: one pixel

QString CounterText() {
  const int shown = g_LearnMode == 2 ? (g_CyclePos + 1) / 2 : g_CyclePos;
  return QStringLiteral("%1").arg(shown, 4, 10, QLatin1Char('0'));
}

void DrawMarker(platform::PictureBox& strip, double x) {
  if (x < kMarkerWidth) x = kMarkerWidth;
  strip.cls();
  const double scale = 1.0 / platform::kTwipsPerPixel;
  strip.draw([&](QPainter& painter) {
    painter.fillRect(QRectF(x * scale, 0, kMarkerWidth * scale, strip.height()), QColor(255, 0, 0));
  });
}

// The word a picture is looked up by: the row's text (with the phonetic row shown, as the word
// row drew it, without the phonetic part). In learn mode 1 a row carries the word, two blanks and
// the meaning, so the word ends at the first two blanks; without that cut no word picture would
// ever show in that mode. The other modes' rows hold the word alone, which may itself contain two
// blanks ("apple  pie" finds "apple pie.jpg").
QString PictureWord(const QString& text) {
  const bool drawnText = g_ShowPhonetic && g_PieceCount >= 1 && g_PieceCount < std::ssize(g_Pieces);
  const QString shown = (drawnText ? g_Pieces[static_cast<size_t>(g_PieceCount)].PrefixText : text).trimmed();
  const qsizetype separator = g_LearnMode == 1 ? shown.indexOf(QStringLiteral("  ")) : -1;
  return separator < 0 ? shown : shown.left(separator);
}

void DrawRow(const QString& text) {
  DrawWordText(text, QStringLiteral("U"));
  if (g_ShowPhonetic) DrawPhoneticText();
  if (g_ShowLongMeaning) DrawMeaningText(ExtractMeaningKeyword(text), QStringLiteral("U"));
  if (g_ShowPicture) FindWordPicture(PictureWord(text));
}

}  // namespace

void SkolvaneBar::runtimer() {
  GetScreenPixel();
  if (g_CycleCount == 0) {
    Tim_Wait->setEnabled(false);
    return;
  }
  if (g_RangeChanged) {
    g_RangeChanged = false;
    if (g_CyclePos > g_CycleLast + 1) g_CyclePos = g_CycleFirst;
  } else if (g_CyclePos > g_CycleLast) {
    g_CyclePos = g_CycleFirst;
  }
  if (g_RestartCycle) {
    g_RestartCycle = false;
    g_CyclePos = 1;
  }
  if (g_Wait && g_CyclePos == 0) g_CyclePos = 1;

  g_CurrentText = CycleRowText(g_CyclePos - 1);
  DrawRow(g_CurrentText);
  if (g_SoundMode == "1" || g_SoundMode == "2" || g_SoundMode == "X") SpeakWord();

  // The step places the marker by the segment size or the raw line count; a divisor of 0 (an
  // empty library, a size that is not a number) puts it at the start.
  const double divisor = g_DoSegment ? g_SegmentSize.toDouble() : static_cast<double>(g_LineCount);
  DrawMarker(*Pic_Pos, divisor > 0 ? g_CyclePos * Pic_Pos->twips().width() / divisor : 0);
  Lbl_Counter->setCaption(CounterText());

  if (!g_Wait && g_CyclePos < std::numeric_limits<std::int16_t>::max()) ++g_CyclePos;
}

void SkolvaneBar::paint_pos() {
  const double x = g_CycleCount == 0 ? kMarkerWidth : g_CyclePos * Pic_Pos->twips().width() / g_CycleCount;
  DrawMarker(*Pic_Pos, x);
}

void SkolvaneBar::Tim_Wait_Timer() {
  // Saying a word holds the thread, often longer than the word interval, so this tick is already
  // due when the word has been said and would run before the tick of a hot key pressed meanwhile:
  // the kill would then hit the next word, and a key pressed again during each word would push
  // its tick back for ever. A key pressed while the word was said therefore acts first, on the
  // word it was pressed for, and the step waits for the next tick.
  DeliverPendingHotKeys();
  if (Tim_KeyHook->enabled()) {
    Tim_KeyHook_Timer();
    return;
  }
  runtimer();
}

void SkolvaneBar::MWheel1_WheelScroll(std::int16_t zDelta) {
  if (g_CycleCount == 0) return;
  if (zDelta == 120 && g_CyclePos >= 2) {
    --g_CyclePos;
  } else if (zDelta == -120 && g_CyclePos < g_CycleLast) {
    ++g_CyclePos;
  } else {
    return;
  }
  paint_pos();
  Lbl_Counter->setCaption(CounterText());
  g_CurrentText = CycleRowText(g_CyclePos - 1);
  DrawRow(g_CurrentText);
}

void SkolvaneBar::Pic_ShowText_Paint() {
  if (g_CycleCount == 0) Tim_Wait->setEnabled(false);
  Pic_ShowText->twips().setWidth(g_WindowW * static_cast<double>(platform::kTwipsPerPixel));
  if (g_CurrentText.isEmpty()) g_CurrentText = QStringLiteral("词库加载中...");
  DrawWordText(g_CurrentText, QStringLiteral("U"));
}

void SkolvaneBar::Pic_SegNo_Paint() {
  if (!g_DoSegment) return;
  const bool grouped = !g_GroupSymbolStart.isEmpty() && !g_GroupSymbolEnd.isEmpty();
  DrawUnicodeText(grouped ? g_GroupName : g_SegmentNo);
}

void SkolvaneBar::Pic_percent_Paint() { RefreshInfoLabels(); }

void SkolvaneBar::Pic_Pos_Paint() { paint_pos(); }
