// Breaking a meaning into the pop-up's rows and the heights that follow.
#include "libraries/getword_rows.h"

#include <gtest/gtest.h>

namespace {

// Every character 100 twips wide in a box with room for 10 of them.
constexpr double kSpace = 1000;
double Width(const QString& text) { return 100.0 * static_cast<double>(text.size()); }

QStringList Rows(const QString& meaning) { return BreakMeaningIntoRows(meaning, kSpace, Width, "Words"); }

TEST(PopupRows, FillEachRowThenEndWithAnEmptyRowOrCutAtTwentyRows) {
  const QString marker = "... [Words]";
  struct Case {
    int characters;
    int rows;  // the empty last row included
  };
  for (const Case c : {Case{1, 2}, Case{10, 2}, Case{11, 3}, Case{185, 20}, Case{190, 20}, Case{191, 20},
                       Case{5000, 20}}) {
    const QStringList rows = Rows(QString(c.characters, 'x'));
    ASSERT_EQ(rows.size(), c.rows) << c.characters;
    EXPECT_TRUE(rows.back().isEmpty()) << c.characters;
    const bool cut = c.characters > 190;  // 19 full rows still show whole
    EXPECT_EQ(rows.value(18) == marker, cut) << c.characters;
    const QString shown = cut ? QString(180, 'x') : QString(c.characters, 'x');
    EXPECT_EQ(rows.mid(0, cut ? 18 : c.rows).join(QString()), shown) << c.characters;
  }
}

TEST(PopupRows, BreakAnywhereButInsideACharacter) {
  const QString face = QString::fromUcs4(U"\U0001F600");  // two UTF-16 units, 200 twips here
  const QStringList rows = Rows("ab cd" + QString("xxxx") + face + "y");
  EXPECT_EQ(rows, QStringList({"ab cdxxxx", face + "y", ""}));
  // A character wider than the box leaves the row it did not fit in empty, as the rule says.
  EXPECT_EQ(BreakMeaningIntoRows("ab", 50, Width, "Words"), QStringList({"", "a", "b", ""}));
}

TEST(PopupRows, MeasureNoMoreThanTheShownRowsOfAPageLongMeaning) {
  int measured = 0;
  const auto counting = [&measured](const QString& text) {
    ++measured;
    return Width(text);
  };
  BreakMeaningIntoRows(QString(1'000'000, 'x'), kSpace, counting, "Words");
  EXPECT_LE(measured, 200);
}

TEST(PopupRows, HeightsFollowTheRowCountAndTheFontSize) {
  // Rows are 1.5 times the point size in pixels; tops and the window height round halves to even.
  EXPECT_DOUBLE_EQ(MeaningBoxHeightTwips(2, 10), 2 * 15 * 15);
  EXPECT_EQ(MeaningRowTop(1, 9), 0);
  EXPECT_EQ(MeaningRowTop(2, 9), 14);  // 13.5
  EXPECT_EQ(MeaningRowTop(4, 9), 40);  // 40.5
  EXPECT_EQ(TwipsToPixelsHalfEven(270 + MeaningBoxHeightTwips(3, 9)), 58);  // 18 + 40.5
}

}  // namespace
