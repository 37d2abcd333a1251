// One row of the word bar drawn as the word step draws it: the word line with its piece pass,
// the phonetic row over it and three meaning rows, into the bar's boxes under the offscreen
// platform. The word step runs this once per interval (one second at the shortest).

#include "bar/SkolvaneBar.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "platform/fonts/font_mapping.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {

void PrepareBar(const QString& sourceLang) {
  // Loaded first: the bar's start reads the settings into the shared values set below.
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.Tim_Wait->setEnabled(false);
  g_BarShown = true;
  g_ShowPhonetic = true;
  g_ShowLongMeaning = true;
  g_PhoneticSymbolStart = "[";
  g_PhoneticSymbolEnd = "]";
  g_MeaningSymbolStart = "(";
  g_MeaningSymbolEnd = ")";
  g_MeaningRows = 3;
  g_SourceLang = sourceLang;

  bar.Pic_ShowText->setFont(platform::ResolveFont("SimSun", 12));
  bar.Pic_ShowPhonetic->setFont(platform::ResolveFont("SimSun", 6));
  bar.Pic_ShowLongMeaning->setFont(platform::ResolveFont("SimSun", 6));
  bar.Pic_ShowPhonetic->twips().move(0, 0, 6480, 144);
  bar.Pic_ShowText->twips().move(0, 144, 6480, 288);
  bar.Pic_ShowLongMeaning->twips().move(0, 432, 6480, 432);
  bar.show();
}

void DrawRow(benchmark::State& state, const QString& line, const QString& meaning) {
  for (auto _ : state) {
    DrawWordText(line, "U");
    DrawPhoneticText();
    DrawMeaningText(meaning, "U");
  }
  if (g_PieceCount == 0) state.SkipWithError("the word line made no pieces");
}

void BM_DrawEnglishRow(benchmark::State& state) {
  PrepareBar("A");
  DrawRow(state, "word@[wɜːd]n. 单词；字$adj. 词的", "n. 单词；字 adj. 词的 v. 用词语表达；措辞");
}
BENCHMARK(BM_DrawEnglishRow)->Unit(benchmark::kMicrosecond);

void BM_DrawChineseRow(benchmark::State& state) {
  PrepareBar("C");
  DrawRow(state, "单词 [dān cí] (n.) word; vocabulary", "(n.) word; vocabulary; the words of a language");
}
BENCHMARK(BM_DrawChineseRow)->Unit(benchmark::kMicrosecond);

}  // namespace
