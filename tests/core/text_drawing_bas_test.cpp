#include "core/text_drawing_bas.h"

#include "core/vars_bas.h"
#include "tests/support/bar_drawing_fixture.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {

using testing_support::BarDrawingFixture;

int Advance(const platform::PictureBox& box, const QString& text) {
  return QFontMetrics(box.font(), &box.image()).horizontalAdvance(text);
}

// Left edge of a reading centred over `covered` pixels that start at `left`, never below 0.
int CentredX(double left, double covered, double reading) {
  return static_cast<int>(std::nearbyint(std::max(0.0, left + (covered - reading) / 2 + 1)));
}

class WordLine : public BarDrawingFixture {
 protected:
  platform::PictureBox& word() { return *bar().Pic_ShowText; }
  platform::PictureBox& phonetic() { return *bar().Pic_ShowPhonetic; }
  platform::PictureBox& meaning() { return *bar().Pic_ShowLongMeaning; }
};

TEST_F(WordLine, LatinLibraryDropsThePhoneticPartAndShowsItAtTheLeftEdge) {
  DrawWordText("  apple [ˈæpl]", "U");
  DrawPhoneticText();

  EXPECT_EQ(word().image(), Expected(word(), {{"  apple ", 0, 0}}));
  ASSERT_EQ(g_PieceCount, 8);
  EXPECT_EQ(g_Pieces[7].Char, "e");  // the last non-blank piece takes the reading
  EXPECT_EQ(g_Pieces[7].Reading, "ˈæpl");
  EXPECT_EQ(g_Pieces[8].PrefixText, "  apple ");
  EXPECT_EQ(phonetic().image(), Expected(phonetic(), {{"ˈæpl", 0, 0}}));
}

TEST_F(WordLine, LatinLibraryShowsOnlyItsFirstReading) {
  DrawWordText("ab [x] cd [y]", "U");
  DrawPhoneticText();
  EXPECT_EQ(g_PieceIndex, 2);
  EXPECT_EQ(g_Pieces[6].Reading, "y");
  EXPECT_EQ(phonetic().image(), Expected(phonetic(), {{"x", 0, 0}}));
}

TEST_F(WordLine, ChineseReadingsStandCentredOverTheirCharacters) {
  g_SourceLang = "C";
  DrawWordText("中国 [zhōng guó]", "U");
  DrawPhoneticText();

  ASSERT_EQ(g_PieceCount, 3);
  EXPECT_EQ(g_Pieces[1].Reading, "zhōng");
  EXPECT_EQ(g_Pieces[2].Reading, "guó");
  EXPECT_EQ(g_PieceIndex, 2);
  const int zhong = CentredX(0, Advance(word(), "中"), Advance(phonetic(), "zhōng"));
  const int guo = CentredX(Advance(word(), "中"), Advance(word(), "国"), Advance(phonetic(), "guó"));
  EXPECT_GT(guo, zhong);
  ASSERT_FALSE(Ink(phonetic()).isEmpty());
  EXPECT_EQ(phonetic().image(), Expected(phonetic(), {{"zhōng", zhong, 0}, {"guó", guo, 0}}));
}

TEST_F(WordLine, JapaneseReadingLandsOnTheFirstIdeographOfARunAndSpansIt) {
  g_SourceLang = "J";
  DrawWordText("の日本[にほん]", "U");
  DrawPhoneticText();

  ASSERT_EQ(g_PieceCount, 3);
  EXPECT_TRUE(g_Pieces[3].Reading.isEmpty());
  EXPECT_EQ(g_Pieces[2].Reading, "にほん");
  EXPECT_EQ(g_Pieces[2].ReadingSpan, "2");
  EXPECT_EQ(g_PieceIndex, 1);
  const int x = CentredX(Advance(word(), "の"), 2.0 * Advance(word(), "日"), Advance(phonetic(), "にほん"));
  EXPECT_EQ(phonetic().image(), Expected(phonetic(), {{"にほん", x, 0}}));
}

TEST_F(WordLine, PhoneticRowOffDrawsTheWholeLine) {
  g_ShowPhonetic = false;
  DrawWordText("ab [cd]", "U");
  EXPECT_EQ(g_PieceCount, 0);
  EXPECT_EQ(word().image(), Expected(word(), {{"ab [cd]", 0, 0}}));
}

TEST_F(WordLine, MeaningRowsCutTheLineBeforeTheMeaningSymbol) {
  g_ShowLongMeaning = true;
  DrawWordText("word [wɜːd] (n.) thing", "U");
  EXPECT_EQ(word().image(), Expected(word(), {{"word ", 0, 0}}));

  g_MeaningSymbolStart.clear();  // an empty symbol marks nothing and cuts nothing
  DrawWordText("word (n.)", "U");
  EXPECT_EQ(word().image(), Expected(word(), {{"word (n.)", 0, 0}}));
}

TEST_F(WordLine, FollowSpaceEndsEveryPhoneticPartAtTheNextBlank) {
  g_PhoneticSymbolStart = "/";
  g_PhoneticSymbolEnd = "<FOLLOW_SPACE>";
  DrawWordText("go /gəʊ now", "U");
  EXPECT_EQ(g_PhoneticSymbolEnd, " ");
  EXPECT_EQ(g_Pieces[2].Reading, "gəʊ");
  EXPECT_EQ(word().image(), Expected(word(), {{"gonow", 0, 0}}));
}

TEST_F(WordLine, OddSymbolPlacements) {
  DrawWordText("ab]", "U");  // a closing symbol alone hands out one empty reading
  EXPECT_EQ(g_PieceIndex, 1);
  EXPECT_TRUE(g_Pieces[2].Reading.isEmpty());

  DrawWordText("[abc]", "U");  // nothing outside the symbols: an empty line
  EXPECT_EQ(g_PieceCount, 0);
  EXPECT_TRUE(Ink(word()).isEmpty());

  g_PhoneticSymbolStart = g_PhoneticSymbolEnd = "/";  // the opening test wins: the part never closes
  DrawWordText("ab/cd/ef", "U");
  EXPECT_EQ(g_PieceIndex, 0);
  EXPECT_EQ(word().image(), Expected(word(), {{"ab", 0, 0}}));
}

TEST_F(WordLine, ACharacterOutsideTheBasicPlaneIsOnePiece) {
  DrawWordText("😀[x]", "U");
  ASSERT_EQ(g_PieceCount, 1);
  EXPECT_EQ(g_Pieces[1].Char, "😀");
  EXPECT_EQ(g_Pieces[1].Reading, "x");
}

TEST_F(WordLine, TextIsDrawnInTheForeColourWithAmpersandsAsTheyStand) {
  g_ShowPhonetic = false;
  word().setFont(platform::ResolveFont("DejaVu Sans", 36));
  word().setForeColor(QColor(255, 0, 0));
  DrawWordText("&", "U");
  EXPECT_FALSE(Ink(word()).isEmpty());
  EXPECT_EQ(word().image(), Expected(word(), {{"&", 0, 0}}));
  bool red = false;
  const QImage& image = word().image();
  for (int y = 0; y < image.height() && !red; ++y) {
    for (int x = 0; x < image.width() && !red; ++x) red = image.pixelColor(x, y) == QColor(255, 0, 0);
  }
  EXPECT_TRUE(red);
}

// A mixed line stays whole in a word row 1.2 times the font size: an ideograph drawn by the Chinese
// fallback family, whose ascent is larger than the word font's, leaves the line where its Latin
// text alone stands, and a Chinese word font whose own line is higher than the row is fitted in.
TEST_F(WordLine, MixedLineKeepsItsDescendersInAWordRowOfOnePointTwoTimesTheFontSize) {
  g_ShowPhonetic = false;
  const QString line = "apple n. 苹果";
  for (const QString face : {"Arial", "Noto Sans CJK SC"}) {
    SCOPED_TRACE(face.toStdString());
    word().setFont(platform::ResolveFont(face, 14));
    word().twips().setHeight(1.2 * 14 * 20);
    DrawWordText(line, "U");
    const QRect inRow = Ink(word());
    ASSERT_FALSE(inRow.isEmpty());
    EXPECT_GT(inRow.top(), 0);

    word().twips().setHeight(1000);  // a box with room to spare shows nothing more
    DrawWordText(line, "U");
    EXPECT_EQ(Ink(word()), inRow);
  }

  word().setFont(platform::ResolveFont("Arial", 14));
  DrawWordText("apple", "U");
  const int latinBottom = Ink(word()).bottom();
  DrawWordText(line, "U");
  EXPECT_EQ(Ink(word()).bottom(), latinBottom);
}

TEST_F(WordLine, LineBreaksStartANewLineOneFontHeightLower) {
  g_ShowPhonetic = false;
  word().twips().setHeight(1000);
  const int lineHeight = QFontMetrics(word().font(), &word().image()).height();
  for (const QString& text : {QStringLiteral("ab\r\ncd"), QStringLiteral("ab\rcd"), QStringLiteral("ab\ncd")}) {
    DrawWordText(text, "U");
    EXPECT_EQ(word().image(), Expected(word(), {{"ab", 0, 0}, {"cd", 0, lineHeight}}));
  }
}

TEST_F(WordLine, HiddenBarComputesThePiecesButDrawsNothing) {
  g_BarShown = false;
  DrawWordText("ab [x]", "U");
  DrawMeaningText("meaning", "U");
  EXPECT_EQ(g_PieceCount, 3);
  EXPECT_TRUE(Ink(word()).isEmpty());
  EXPECT_TRUE(Ink(meaning()).isEmpty());
}

TEST_F(WordLine, VeryLongLinesWithManySymbolsStayWithinTheirLimits) {
  g_SourceLang = "C";
  QString line;
  for (int i = 0; i < 3000; ++i) line += "字[zì pīn] ";
  DrawWordText(line, "U");
  DrawPhoneticText();
  EXPECT_EQ(g_PieceCount, kMaxPieces);
  EXPECT_FALSE(Ink(word()).isEmpty());
  EXPECT_FALSE(Ink(phonetic()).isEmpty());

  DrawWordText("a" + QString(40000, u']'), "U");  // the reading counter saturates, never wraps
  EXPECT_EQ(g_PieceIndex, 32767);

  DrawMeaningText(QString(100000, u'x'), "U");
  EXPECT_FALSE(Ink(meaning()).isEmpty());
}

class MeaningRows : public WordLine {
 protected:
  void SetUp() override {
    WordLine::SetUp();
    meaning().setFont(platform::ResolveFont("DejaVu Sans Mono", 6));
    g_MeaningRows = 3;
  }
  // Puts the box's right edge so that exactly `characters` digits fit in a row.
  void fitCharacters(int characters) {
    const int width = Advance(meaning(), QString(characters, u'0'));
    ASSERT_GT(Advance(meaning(), QString(characters + 1, u'0')), width);
    meaning().twips().move(0, 450, width * 15.0, 432);
  }
};

TEST_F(MeaningRows, WrapBetweenAnyTwoCharactersAtTheBoxWidth) {
  fitCharacters(10);
  DrawMeaningText("0123456789abcd efghABCDE", "U");
  // 432 twips for three rows: row tops 0, 9.6 and 19.2 pixels.
  EXPECT_EQ(meaning().image(),
            Expected(meaning(), {{"0123456789", 0, 0}, {"abcd efghA", 0, 10}, {"BCDE", 0, 19}}));
}

TEST_F(MeaningRows, ACharacterWiderThanTheBoxLeavesAnEmptyRowBeforeIt) {
  meaning().twips().move(0, 450, 15, 432);
  DrawMeaningText("01", "U");
  EXPECT_EQ(meaning().image(), Expected(meaning(), {{"0", 0, 10}, {"1", 0, 19}}));
}

TEST_F(MeaningRows, ARowCountBelowOneDrawsOneRowPerBox) {
  fitCharacters(4);
  g_MeaningRows = 0;
  DrawMeaningText("01234567", "U");
  EXPECT_EQ(meaning().image(), Expected(meaning(), {{"0123", 0, 0}}));
}

TEST_F(WordLine, SegmentLabelGrowsLeftFromTheCounter) {
  bar().Lbl_Counter->twips().move(6000, 450, 480, 195);
  DrawUnicodeText("0007");
  const platform::PictureBox& label = *bar().Pic_SegNo;
  EXPECT_DOUBLE_EQ(label.twips().width(), Advance(label, "0007") * 15.0);
  EXPECT_DOUBLE_EQ(label.twips().left() + label.twips().width(), 6000);
  EXPECT_FALSE(Ink(label).isEmpty());
}

TEST(IsWideChar, ClassifiesByTheChineseCodePageForJapaneseLibrariesOnly) {
  g_SourceLang = "J";
  EXPECT_TRUE(IsWideChar("a"));   // single byte
  EXPECT_TRUE(IsWideChar("の"));  // kana: double byte below the ideograph rows
  EXPECT_TRUE(IsWideChar("ア"));
  EXPECT_TRUE(IsWideChar("Ａ"));  // full-width Latin
  EXPECT_FALSE(IsWideChar("中"));
  EXPECT_FALSE(IsWideChar("日"));
  EXPECT_TRUE(IsWideChar("😀"));  // no GBK form: counts as single byte
  g_SourceLang = "C";
  EXPECT_FALSE(IsWideChar("a"));
  EXPECT_FALSE(IsWideChar("の"));
}

class MeaningKeyword : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ShowLongMeaning = true;
    g_MeaningSymbolStart = "(";
    g_MeaningSymbolEnd = ")";
  }
};

TEST_F(MeaningKeyword, GivesTheFirstKeywordWithTheTextAfterIt) {
  EXPECT_EQ(ExtractMeaningKeyword("> apple [ˈæpl] (apple) n. fruit"), "(apple) n. fruit");
  EXPECT_EQ(ExtractMeaningKeyword("a (b) c$d (e) f"), "(b) cd ");
  EXPECT_EQ(ExtractMeaningKeyword("() (x) y"), "(x) y");  // an empty keyword is passed over
  EXPECT_EQ(ExtractMeaningKeyword("no keyword"), "");

  QString many;
  for (int i = 0; i < 12; ++i) many += "()";
  EXPECT_EQ(ExtractMeaningKeyword(many + "(late) one"), "(late) one");  // beyond ten rows
}

TEST_F(MeaningKeyword, NeedsTheMeaningRowsAndTwoUsableSymbols) {
  g_MeaningSymbolEnd = "(";  // equal symbols: the start test always wins
  EXPECT_EQ(ExtractMeaningKeyword("(a( b"), "");
  g_MeaningSymbolEnd = "))";  // a symbol of two characters never matches
  EXPECT_EQ(ExtractMeaningKeyword("(a)) b"), "");
  g_MeaningSymbolEnd = "";
  EXPECT_EQ(ExtractMeaningKeyword("(a) b"), "");
  g_MeaningSymbolEnd = ")";
  g_ShowLongMeaning = false;
  EXPECT_EQ(ExtractMeaningKeyword("(a) b"), "");
}

TEST(RemoveBracketed, DropsBracketedPartsWithoutNesting) {
  EXPECT_EQ(RemoveBracketed("a[b]c]d[e"), "acd");
  EXPECT_EQ(RemoveBracketed("x[[y]z]"), "xz");
  EXPECT_EQ(RemoveBracketed("plain"), "plain");
  EXPECT_EQ(RemoveBracketed(""), "");
}

}  // namespace
