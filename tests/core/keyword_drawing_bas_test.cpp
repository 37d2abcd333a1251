// The symbol dialogs' samples: which dialog's box a drawing goes into and what it shows.
#include "core/keyword_drawing_bas.h"

#include "tests/support/symbol_dialog_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class KeywordSamples : public testing_support::SymbolDialogFixture {};

TEST_F(KeywordSamples, EachDrawingShowsItsLineInItsDialog) {
  const QString line = QStringLiteral("  apple [ˈæpl]");
  const auto group = [] { return frmGroupKeyword::instance().Pic_Sample; };
  const auto phonetic = [] { return frmPhoneticKeyword::instance().Pic_Sample; };
  const auto meaning = [] { return frmMeaningKeyword::instance().Pic_Sample; };
  struct Case {
    std::function<void()> setUp;
    std::function<void()> draw;
    std::function<platform::PictureBox*()> box;
    QString shown;  // empty: nothing drawn
  };
  const std::vector<Case> cases = {
      {[] { g_PhoneticSymbolStart = "/"; }, [&] { DrawKeywordTextB(line, "U"); }, group, "  apple "},
      {[] {}, [&] { DrawKeywordTextA(line, "U"); }, phonetic, "  apple "},
      {[] { g_PhoneticSymbolStart.clear(); }, [&] { DrawKeywordTextB(line, "U"); }, group, line},
      {[] { g_ShowPhonetic = false; }, [&] { DrawKeywordTextA(line, "U"); }, phonetic, line},
      {[] {}, [&] { DrawKeywordText(line, "frmMeaningKeyword", "U"); }, meaning, line},
      {[] { g_ShowLongMeaning = true; }, [&] { DrawKeywordText("a (n.)", "frmPhoneticKeyword", "U"); }, phonetic,
       "a "},
      {[] {}, [&] { DrawKeywordText(line, "U"); }, meaning, ""},
      {[] { g_BarShown = false; }, [&] { DrawKeywordTextB(line, "U"); }, group, ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    g_ShowPhonetic = g_BarShown = true;
    g_ShowLongMeaning = false;
    g_PhoneticSymbolStart = "[";
    cases[i].setUp();
    platform::PictureBox& box = *cases[i].box();
    box.cls();
    cases[i].draw();
    if (cases[i].shown.isEmpty()) {
      EXPECT_TRUE(Ink(box).isEmpty());
    } else {
      EXPECT_EQ(box.image(), Expected(box, {{cases[i].shown, 0, 0}}));
    }
  }
}

TEST_F(KeywordSamples, EveryLanguageGivesReadingsToTheLastPiecesAndTheWholeLineDropsThem) {
  g_SourceLang = "J";  // the bar would give the reading to the first ideograph of the run
  frmGroupKeyword::instance();
  DrawKeywordTextB("の日本[にほん]", "U");
  ASSERT_EQ(g_PieceCount, 3);
  EXPECT_EQ(g_Pieces[3].Reading, "にほん");
  DrawKeywordText("の日本", "frmGroupKeyword", "U");
  EXPECT_EQ(g_PieceCount, 0);
}

}  // namespace
