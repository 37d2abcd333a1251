#include "platform/fonts/font_mapping.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGlyphRun>
#include <QTextLayout>

namespace {

TEST(FontMapping, AMissingFaceKeepsItsNameAndDrawsEveryCharacterOfAMixedLine) {
  const QFont font = platform::ResolveFont("SimSun", 9);
  EXPECT_EQ(font.family(), "SimSun");
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 9);
  EXPECT_NE(QFontInfo(font).family(), "SimSun");

  // Latin, IPA letters, ideographs and kana all find a real glyph (index 0 is the missing-glyph box).
  QTextLayout layout("word [wɜːd] 单词；の", font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  ASSERT_FALSE(runs.isEmpty());
  for (const QGlyphRun& run : runs) {
    for (const quint32 glyph : run.glyphIndexes()) EXPECT_NE(glyph, 0u) << run.rawFont().familyName().toStdString();
  }
}

}  // namespace
