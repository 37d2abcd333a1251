#include "platform/fonts/font_mapping.h"

namespace platform {
namespace {

// DejaVu Sans carries Latin and the IPA letters of phonetic parts but no ideographs; Noto Sans
// CJK SC carries ideographs and kana but not all IPA letters. Qt tries the families in order for
// every glyph, so the pair draws a mixed line such as "word [wɜːd] 单词" completely.
const QStringList kFallbackFamilies = {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};

}  // namespace

QStringList RenderFamilies(const QString& face) {
  QStringList families;
  if (!face.isEmpty()) families << face;
  for (const QString& fallback : kFallbackFamilies) {
    if (fallback.compare(face, Qt::CaseInsensitive) != 0) families << fallback;
  }
  return families;
}

QFont ResolveFont(const QString& face, double pointSize) {
  QFont font;
  font.setFamilies(RenderFamilies(face));
  if (pointSize > 0) font.setPointSizeF(pointSize);
  return font;
}

}  // namespace platform
