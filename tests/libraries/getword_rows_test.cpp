// Breaking a meaning into the pop-up's rows.
#include "libraries/getword_rows.h"

#include <gtest/gtest.h>

namespace {

// Every UTF-16 unit 100 twips wide in a box with room for 10 of them.
constexpr double kSpace = 1000;
double Width(const QString& text) { return 100.0 * static_cast<double>(text.size()); }

TEST(PopupRows, FillEachRowThenEndWithAnEmptyRowOrCutAtTwentyRows) {
  for (const auto& [characters, rowCount] : {std::pair{1, 2}, {10, 2}, {11, 3}, {190, 20}, {191, 20}, {5000, 20}}) {
    int measured = 0;
    const QStringList rows = BreakMeaningIntoRows(QString(characters, 'x'), kSpace, [&](const QString& text) {
      ++measured;
      return Width(text);
    }, "Words");
    ASSERT_EQ(rows.size(), rowCount) << characters;
    EXPECT_TRUE(rows.back().isEmpty()) << characters;
    const bool cut = characters > 190;  // 19 full rows still show whole
    EXPECT_EQ(rows.value(18) == "... [Words]", cut) << characters;
    EXPECT_EQ(rows.mid(0, cut ? 18 : rowCount).join(QString()), QString(cut ? 180 : characters, 'x')) << characters;
    EXPECT_LE(measured, 200) << characters;  // a page-long meaning is not measured past the shown rows
  }
}

TEST(PopupRows, BreakAnywhereButInsideACharacter) {
  const QString face = QString::fromUcs4(U"\U0001F600");  // two UTF-16 units, 200 twips here
  EXPECT_EQ(BreakMeaningIntoRows("ab cdxxxx" + face + "y", kSpace, Width, "Words"),
            QStringList({"ab cdxxxx", face + "y", ""}));
  // A character wider than the box leaves the row it did not fit in empty, as the rule says.
  EXPECT_EQ(BreakMeaningIntoRows("ab", 50, Width, "Words"), QStringList({"", "a", "b", ""}));
}

}  // namespace
