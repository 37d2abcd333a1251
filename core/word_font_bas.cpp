#include "core/word_font_bas.h"

#include "platform/fonts/font_mapping.h"
#include "platform/forms/picture_box.h"

std::optional<double> ApplyWordFont(platform::PictureBox& box, const QString& wordFont) {
  const qsizetype p1 = wordFont.indexOf(QLatin1Char(';'));
  const qsizetype p2 = wordFont.indexOf(QLatin1Char(':'));
  QString face = box.font().family();
  double size = box.font().pointSizeF();
  if (p1 >= 0) face = wordFont.left(p1);
  if (p2 >= 0) {
    bool charsetOk = false;
    const int charset = wordFont.mid(p1 + 1, p2 - p1 - 1).trimmed().toInt(&charsetOk);
    if (charsetOk) box.setFontCharset(charset);
    bool sizeOk = false;
    const double wanted = wordFont.mid(p2 + 1).trimmed().toDouble(&sizeOk);
    if (sizeOk && wanted > 0 && wanted <= 1638) size = wanted;  // 1638 pt is the largest height in 16-bit twips
  }
  box.setFont(platform::ResolveFont(face, size));
  if (p2 < 0) return std::nullopt;
  return size;
}
