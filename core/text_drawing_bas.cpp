#include "core/text_drawing_bas.h"

#include "bar/SkolvaneBar.h"
#include "core/row_heights_bas.h"
#include "core/vars_bas.h"
#include "platform/codepage/ansi_code_page.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QStringView>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

// Every text is drawn into a rectangle from its left and top to these pixel edges of its box.
constexpr int kDrawRight = 2000;
constexpr int kDrawBottom = 200;

constexpr char16_t kBlank = u' ';

// Length in UTF-16 units of the character at `at`: a surrogate pair is one character, so no
// piece, reading or meaning row ever holds half of one.
qsizetype CharLengthAt(QStringView text, qsizetype at) {
  const bool pair = at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate();
  return pair ? 2 : 1;
}

QStringView FirstChar(const QString& text) {
  return text.isEmpty() ? QStringView() : QStringView(text).left(CharLengthAt(text, 0));
}

// Line breaks as the box's text drawing takes them: CR LF, a lone CR and a lone LF each start
// a new line.
QString WithLineBreaks(const QString& text) {
  if (!text.contains(u'\r')) return text;
  QString result = text;
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(u'\r', u'\n');
  return result;
}

// Where the lines of a text stand in the painter's font: the baseline's distance below a line's
// top, and the distance from one line's top to the next.
struct LinePlacement {
  int baseline = 0;
  int pitch = 0;
};

// The box font's own ascent and height decide, whichever installed family draws a character: an
// ideograph drawn by a fallback family with a taller ascent must not push a Latin line down, or
// its descenders fall out of the bar's rows, which are 1.2 times their font's size. A font whose
// ascent and descent together exceed that (some CJK families) has both taken down in proportion,
// so its text stays within the row as well.
LinePlacement PlaceLines(const QPainter& painter) {
  const QFontMetrics metrics(painter.font(), painter.device());
  LinePlacement placement{metrics.ascent(), metrics.height()};
  constexpr double kPointsPerInch = 72;
  const double rowPoints = TextRowTwips(painter.font().pointSizeF()) / kTwipsPerPoint;
  const double row = rowPoints * painter.device()->logicalDpiY() / kPointsPerInch;
  if (row > 0 && placement.pitch > row) {
    placement.baseline = qRound(placement.baseline * row / placement.pitch);
    placement.pitch = static_cast<int>(std::floor(row));
  }
  return placement;
}

// Draws `text` top-left aligned, clipped to the rectangle from (left, top) to the drawing edges.
// The text stands as it is: "&" is a character, not a mnemonic.
void DrawClipped(QPainter& painter, const QString& text, int left, int top) {
  const QRect rect(left, top, kDrawRight - left, kDrawBottom - top);
  if (rect.isEmpty() || text.isEmpty()) return;
  const LinePlacement placement = PlaceLines(painter);
  painter.save();
  painter.setClipRect(rect);
  int lineTop = top;
  for (const QString& line : WithLineBreaks(text).split(u'\n')) {
    if (lineTop >= kDrawBottom) break;
    painter.drawText(QPoint(left, lineTop + placement.baseline), line);
    lineTop += placement.pitch;
  }
  painter.restore();
}

// Metrics of the box's font as it draws on the box's image.
QFontMetrics MetricsOf(const platform::PictureBox& box) { return QFontMetrics(box.font(), &box.image()); }

int ToPixels(const QString& decimal) { return decimal.toInt(); }

void CountReading() {
  if (g_PieceIndex < std::numeric_limits<std::int16_t>::max()) ++g_PieceIndex;
}

// One run of the word-line pass: makes the pieces, hands out the readings and measures.
class PiecePass {
 public:
  explicit PiecePass(ReadingPlacement placement)
      : japanese_(placement == ReadingPlacement::ByLanguage && g_SourceLang == "J") {
    g_Pieces.assign(1, PieceRow{});  // row 0 stays unused
    pieceEnds_.push_back(0);
  }

  // Makes the next piece; false when the table is full.
  bool addPiece(QStringView character) {
    if (pieceCount_ >= kMaxPieces) return false;
    ++pieceCount_;
    outside_ += character;
    pieceEnds_.push_back(outside_.size());
    PieceRow& row = g_Pieces.emplace_back();
    row.Char = character.toString();
    row.PrefixText = outside_;
    row.ReadingSpan = QStringLiteral("1");
    if (canTakeReading(pieceCount_)) readingTakers_.push_back(pieceCount_);
    return true;
  }

  void collect(QStringView character) { buffer_ += character; }

  // Splits the buffer at its blanks and gives the parts, last first, to the pieces before the
  // closing symbol that can take one. When every part was given the buffer empties; when the
  // pieces ran out first it keeps its text and goes on collecting.
  void handOutReadings() {
    const int nextPiece = pieceCount_ + 1;
    qsizetype partEnd = buffer_.size();
    for (auto taker = readingTakers_.rbegin(); taker != readingTakers_.rend(); ++taker) {
      const qsizetype blank = partEnd > 0 ? buffer_.lastIndexOf(kBlank, partEnd - 1) : -1;
      PieceRow& row = g_Pieces[static_cast<std::size_t>(*taker)];
      row.Reading = buffer_.mid(blank + 1, partEnd - blank - 1);
      if (japanese_ && *taker >= 2) row.ReadingSpan = QString::number(nextPiece - *taker);
      CountReading();
      if (blank < 0) {
        buffer_.clear();
        return;
      }
      partEnd = blank;
    }
  }

  // Measures the pieces and returns the line to draw.
  QString finish() {
    g_PieceCount = static_cast<std::int16_t>(pieceCount_);
    if (pieceCount_ == 0) return {};
    measure();
    return outside_;
  }

 private:
  // A blank never takes a reading. In a Japanese library a piece after the first takes one only
  // when the piece before it is not an ideograph, so the reading lands on the first ideograph of
  // a run and spans the run.
  bool canTakeReading(int piece) const {
    const PieceRow& row = g_Pieces[static_cast<std::size_t>(piece)];
    if (row.Char == QStringView(u" ")) return false;
    if (!japanese_ || piece < 2) return true;
    return IsWideChar(g_Pieces[static_cast<std::size_t>(piece - 1)].Char);
  }

  // Each prefix is measured where it stands in the drawn line, so its width is the left edge of
  // the next character as drawn; one layout serves every piece. Without the bar there is no font
  // to measure in and nothing to draw, and a rebuild must not load the bar (its load opens a
  // library): the widths stay empty.
  void measure() {
    if (!SkolvaneBar::loaded()) return;
    const platform::PictureBox& box = *SkolvaneBar::instance().Pic_ShowText;
    const QFontMetrics metrics = MetricsOf(box);
    QTextLayout layout(outside_, box.font(), &box.image());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    for (int piece = 1; piece <= pieceCount_; ++piece) {
      PieceRow& row = g_Pieces[static_cast<std::size_t>(piece)];
      row.CharWidth = QString::number(metrics.horizontalAdvance(row.Char));
      const auto end = static_cast<int>(pieceEnds_[static_cast<std::size_t>(piece)]);
      row.PrefixWidth = QString::number(qRound(line.cursorToX(end)));
    }
  }

  const bool japanese_;  // readings go to the first ideograph of a run and span it
  int pieceCount_ = 0;
  QString outside_;                      // the line outside the phonetic parts so far
  std::vector<qsizetype> pieceEnds_;     // end of each piece in outside_, by piece number
  std::vector<int> readingTakers_;       // pieces that can take a reading, in line order
  QString buffer_;                       // the phonetic text collected since the last hand-out
};

}  // namespace

QString CutBeforeMeaning(const QString& text) {
  // An empty symbol marks nothing: it must not cut the whole line away.
  if (!g_ShowLongMeaning || g_MeaningSymbolStart.isEmpty()) return text;
  const qsizetype at = text.indexOf(g_MeaningSymbolStart);
  return at < 0 ? text : text.left(at);
}

const QString& FollowSpaceSymbol() {
  static const QString symbol = QStringLiteral("<FOLLOW_SPACE>");
  return symbol;
}

bool PreparePhoneticSymbols() {
  if (g_PhoneticSymbolEnd.contains(FollowSpaceSymbol())) g_PhoneticSymbolEnd = QStringLiteral(" ");
  return !g_PhoneticSymbolStart.isEmpty() && !g_PhoneticSymbolEnd.isEmpty();
}

QString CutIntoPieces(const QString& text, const QString& open, const QString& close, ReadingPlacement placement) {
  g_PieceCount = 0;
  g_PieceIndex = 0;
  const QStringView opening = FirstChar(open);
  const QStringView closing = FirstChar(close);
  PiecePass pass(placement);
  bool inside = false;
  for (qsizetype at = 0; at < text.size();) {
    const QStringView character = QStringView(text).mid(at, CharLengthAt(text, at));
    at += character.size();
    if (character == opening) {
      inside = true;
    } else if (character == closing) {
      inside = false;
      pass.handOutReadings();
    } else if (inside) {
      pass.collect(character);
    } else if (!pass.addPiece(character)) {
      break;
    }
  }
  return pass.finish();
}

void DrawWordText(const QString& text, const QString& /*style*/) {
  g_PieceCount = 0;
  g_PieceIndex = 0;
  QString shown = CutBeforeMeaning(text);
  if (g_ShowPhonetic && PreparePhoneticSymbols()) {
    shown = CutIntoPieces(shown, g_PhoneticSymbolStart, g_PhoneticSymbolEnd, ReadingPlacement::ByLanguage);
  }
  if (!g_BarShown) return;
  DrawTextIntoBox(*SkolvaneBar::instance().Pic_ShowText, shown);
}

void DrawTextIntoBox(platform::PictureBox& box, const QString& text) {
  box.cls();
  box.draw([&](QPainter& painter) { DrawClipped(painter, text, 0, 0); });
}

void DrawPhoneticText() {
  if (!g_ShowPhonetic) return;
  platform::PictureBox& box = *SkolvaneBar::instance().Pic_ShowPhonetic;
  box.cls();
  if (!g_BarShown) return;

  // Chinese and Japanese readings stand centred over their characters; any other library shows
  // its first reading at the left edge.
  const bool overCharacters = g_SourceLang == "C" || g_SourceLang == "J";
  const QFontMetrics readingMetrics = MetricsOf(box);
  const int pieces = std::min<int>(g_PieceCount, static_cast<int>(g_Pieces.size()) - 1);
  box.draw([&](QPainter& painter) {
    int drawn = 1;
    for (int i = 1; i <= pieces; ++i) {
      const PieceRow& row = g_Pieces[static_cast<std::size_t>(i)];
      if (row.Reading.isEmpty()) continue;
      double x = 0;
      if (overCharacters) {
        const int span = std::max(row.ReadingSpan.toInt(), 1);
        const double covered = static_cast<double>(span) * ToPixels(row.CharWidth);
        const double reading = readingMetrics.horizontalAdvance(row.Reading);
        const double left = i > 1 ? ToPixels(g_Pieces[static_cast<std::size_t>(i - 1)].PrefixWidth) : 0;
        x = left + (covered - reading) / 2 + 1;
      }
      if (x < 0) x = 0;
      DrawClipped(painter, row.Reading, static_cast<int>(std::nearbyint(x)), 0);
      ++drawn;
      if (drawn > g_PieceIndex || !overCharacters) break;
    }
  });
}

void DrawMeaningText(const QString& text, const QString& /*style*/) {
  if (!g_BarShown) return;
  platform::PictureBox& box = *SkolvaneBar::instance().Pic_ShowLongMeaning;
  const QFontMetrics metrics = MetricsOf(box);
  const double boxWidth = box.twips().width() / platform::kTwipsPerPixel;
  const double rowHeight = box.twips().height() / MeaningRowCount();
  // Rows from here down would be clipped away whole, so the wrapping stops there.
  const int visibleBottom = std::min(kDrawBottom, box.height());

  box.cls();
  box.draw([&](QPainter& painter) {
    int row = 1;
    QString line;
    // Draws the finished row; false once the rows below it cannot be seen.
    const auto drawRow = [&]() {
      const auto top = static_cast<int>(std::nearbyint((row - 1) * rowHeight / platform::kTwipsPerPixel));
      if (top >= visibleBottom) return false;
      DrawClipped(painter, line, 0, top);
      ++row;
      line.clear();
      return true;
    };
    for (qsizetype at = 0; at < text.size();) {
      const QStringView character = QStringView(text).mid(at, CharLengthAt(text, at));
      at += character.size();
      const QString extended = line + character.toString();
      if (boxWidth < metrics.horizontalAdvance(extended) && !drawRow()) return;
      line += character;
    }
    drawRow();
  });
}

QString ExtractMeaningKeyword(const QString& line) {
  if (!g_ShowLongMeaning || g_MeaningSymbolStart.isEmpty() || g_MeaningSymbolEnd.isEmpty()) return {};

  // Row 1 holds the text before the first keyword; row k + 1 the k-th keyword and its text.
  struct KeywordRow {
    QString keyword;
    QString following;
  };
  std::vector<KeywordRow> rows(2);
  std::size_t idx = 1;
  QString buffer;
  for (const QChar character : line) {
    if (character == u'$') continue;
    const QStringView single(&character, 1);
    if (single == g_MeaningSymbolStart) {
      rows[idx].following = buffer;
      buffer.clear();
      ++idx;
      if (idx == rows.size()) rows.emplace_back();
    } else if (single == g_MeaningSymbolEnd) {
      rows[idx].keyword = buffer;
      buffer.clear();
    } else {
      buffer += character;
    }
  }
  rows[idx].following = buffer;

  for (std::size_t r = 1; r < rows.size(); ++r) {
    if (!rows[r].keyword.isEmpty()) return g_MeaningSymbolStart + rows[r].keyword + g_MeaningSymbolEnd + rows[r].following;
  }
  return {};
}

void DrawUnicodeText(const QString& text) {
  SkolvaneBar& bar = SkolvaneBar::instance();
  platform::PictureBox& box = *bar.Pic_SegNo;
  box.cls();
  const double width = MetricsOf(box).horizontalAdvance(text) * static_cast<double>(platform::kTwipsPerPixel);
  box.twips().setWidth(width);
  box.twips().setLeft(bar.Lbl_Counter->twips().left() - width);
  box.draw([&](QPainter& painter) { DrawClipped(painter, text, 0, 0); });
}

QString RemoveBracketed(const QString& text) {
  QString result;
  result.reserve(text.size());
  bool inside = false;
  for (const QChar character : text) {
    if (character == u'[') {
      inside = true;
    } else if (character == u']') {
      inside = false;
    } else if (!inside) {
      result += character;
    }
  }
  return result;
}

bool IsWideChar(const QString& character) {
  if (g_SourceLang != "J") return false;
  const QByteArray gbk = platform::EncodeAnsiCodePage(FirstChar(character).toString());
  if (gbk.size() != 2) return true;  // single-byte, or no GBK form at all
  constexpr unsigned char kFirstIdeographLead = 0xB0;
  return static_cast<unsigned char>(gbk[0]) < kFirstIdeographLead;
}
