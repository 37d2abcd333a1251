// The symbol dialogs' samples: which dialog's box a drawing goes into and what it shows.
#include "core/keyword_drawing_bas.h"

#include "tests/support/symbol_dialog_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using testing_support::SymbolDialogFixture;

class KeywordSamples : public SymbolDialogFixture {};

TEST_F(KeywordSamples, EachDrawingShowsItsLineInItsDialog) {
  const QString line = QStringLiteral("  apple [ˈæpl]");
  struct Case {
    const char* what;
    std::function<void()> setUp;
    std::function<void()> draw;
    std::function<SymbolDialog&()> dialog;
    QString shown;  // empty: nothing drawn
  };
  const auto group = [] () -> SymbolDialog& { return frmGroupKeyword::instance(); };
  const auto phonetic = [] () -> SymbolDialog& { return frmPhoneticKeyword::instance(); };
  const auto meaning = [] () -> SymbolDialog& { return frmMeaningKeyword::instance(); };
  const std::vector<Case> cases = {
      {"group sample drops the bracketed part whatever the phonetic symbols", [] { g_PhoneticSymbolStart = "/"; },
       [&] { DrawKeywordTextB(line, "U"); }, group, "  apple "},
      {"phonetic sample likewise", [] {}, [&] { DrawKeywordTextA(line, "U"); }, phonetic, "  apple "},
      {"an empty phonetic symbol skips the pass", [] { g_PhoneticSymbolStart.clear(); },
       [&] { DrawKeywordTextB(line, "U"); }, group, line},
      {"phonetic row off skips it as well", [] { g_ShowPhonetic = false; }, [&] { DrawKeywordTextA(line, "U"); },
       phonetic, line},
      {"the named dialog shows the whole line", [] {}, [&] { DrawKeywordText(line, "frmMeaningKeyword", "U"); },
       meaning, line},
      {"the meaning is cut off with the meaning rows on", [] { g_ShowLongMeaning = true; },
       [&] { DrawKeywordText("word (n.)", "frmPhoneticKeyword", "U"); }, phonetic, "word "},
      {"another name draws nothing", [] {}, [&] { DrawKeywordText(line, "U"); }, meaning, ""},
      {"nothing while the bar is off screen", [] { g_BarShown = false; }, [&] { DrawKeywordTextB(line, "U"); },
       group, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_ShowPhonetic = g_BarShown = true;
    g_ShowLongMeaning = false;
    g_PhoneticSymbolStart = "[";
    g_PieceCount = 5;
    c.setUp();
    platform::PictureBox& box = *c.dialog().Pic_Sample;
    box.cls();
    c.draw();
    if (c.shown.isEmpty()) {
      EXPECT_TRUE(Ink(box).isEmpty());
    } else {
      EXPECT_EQ(box.image(), Expected(box, {{c.shown, 0, 0}}));
    }
  }
}

TEST_F(KeywordSamples, ThePhoneticPassGivesEveryLanguageItsReadingsOnTheLastPieces) {
  g_SourceLang = "J";  // the bar would give the reading to the first ideograph of the run
  frmGroupKeyword::instance();
  DrawKeywordTextB("の日本[にほん]", "U");
  ASSERT_EQ(g_PieceCount, 3);
  EXPECT_EQ(g_Pieces[3].Reading, "にほん");
  EXPECT_EQ(g_Pieces[2].Reading, "");

  DrawKeywordText("の日本", "frmGroupKeyword", "U");
  EXPECT_EQ(g_PieceCount, 0);
}

}  // namespace
