#include "libraries/getword_rows.h"

#include "platform/forms/twips.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kRowPerPointSize = 1.5;

// Length in UTF-16 units of the character at `at`: a surrogate pair is placed whole.
qsizetype CharLengthAt(const QString& text, qsizetype at) {
  const bool pair = at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate();
  return pair ? 2 : 1;
}

// std::nearbyint rounds halves to the even neighbour in the default rounding mode.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

QStringList BreakMeaningIntoRows(const QString& meaning, double spaceTwips,
                                 const std::function<double(const QString&)>& textWidthTwips,
                                 const QString& libraryName) {
  QStringList rows{QString()};
  for (qsizetype at = 0; at < meaning.size();) {
    const qsizetype length = CharLengthAt(meaning, at);
    const QStringView character = QStringView(meaning).mid(at, length);
    QString widened = rows.back();
    widened += character;
    if (spaceTwips < textWidthTwips(widened)) {
      // Row kMaxMeaningRows begun: the meaning is cut whatever follows, so nothing more is measured.
      if (rows.size() == kMaxMeaningRows - 1) {
        rows.resize(kMaxMeaningRows - 2);
        rows << QStringLiteral("... [") + libraryName + QLatin1Char(']') << QString();
        return rows;
      }
      rows << character.toString();
    } else {
      rows.back() = std::move(widened);
    }
    at += length;
  }
  rows << QString();
  return rows;
}

double MeaningRowPixels(double pointSize) { return kRowPerPointSize * pointSize; }

double MeaningBoxHeightTwips(int rowCount, double pointSize) {
  return rowCount * MeaningRowPixels(pointSize) * platform::kTwipsPerPixel;
}

int MeaningRowTop(int row, double pointSize) { return RoundHalfEven((row - 1) * MeaningRowPixels(pointSize)); }

int TwipsToPixelsHalfEven(double twips) { return RoundHalfEven(twips / platform::kTwipsPerPixel); }
