// The symbol dialogs' sample box drawn for a line of 500 characters, as the another-one button
// (the phonetic pass, measured in the bar's word font) and the sample steps (the whole line) draw
// it; and a whole sample step, which also fills the two candidate lists with the line's characters.

#include "bar/SkolvaneBar.h"
#include "core/keyword_drawing_bas.h"
#include "core/vars_bas.h"
#include "libraries/frmGroupKeyword.h"
#include "platform/fonts/font_mapping.h"

#include <benchmark/benchmark.h>

namespace {

// 500 characters: words with phonetic parts and meanings, Latin and Chinese.
QString LongLine() {
  const QString part = QStringLiteral("word [wɜːd] (n.) 单词；字 ");
  QString line;
  while (line.size() < 500) line += part;
  return line.left(500);
}

frmGroupKeyword& PrepareDialog() {
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.Tim_Wait->setEnabled(false);
  bar.Pic_ShowText->setFont(platform::ResolveFont("SimSun", 12));
  g_BarShown = true;
  g_ShowPhonetic = true;
  g_ShowLongMeaning = false;
  g_PhoneticSymbolStart = "[";
  g_PhoneticSymbolEnd = "]";
  g_CycleTable.assign(2, CycleRow{LongLine(), QString(), QString()});
  g_CycleCount = g_CycleLast = 2;
  g_CyclePos = 0;
  frmGroupKeyword& dialog = frmGroupKeyword::instance();
  dialog.show();
  return dialog;
}

void BM_DrawSampleWithPhoneticPass(benchmark::State& state) {
  PrepareDialog();
  const QString line = LongLine();
  for (auto _ : state) DrawKeywordTextB(line, "U");
  if (g_PieceCount == 0) state.SkipWithError("the sample made no pieces");
}
BENCHMARK(BM_DrawSampleWithPhoneticPass)->Unit(benchmark::kMicrosecond);

void BM_DrawWholeSample(benchmark::State& state) {
  PrepareDialog();
  const QString line = LongLine();
  for (auto _ : state) DrawKeywordText(line, "frmGroupKeyword", "U");
}
BENCHMARK(BM_DrawWholeSample)->Unit(benchmark::kMicrosecond);

void BM_SampleStepWithLists(benchmark::State& state) {
  frmGroupKeyword& dialog = PrepareDialog();
  for (auto _ : state) {
    dialog.Cmd_Next_Click();  // row 1
    dialog.Cmd_Prev_Click();  // row 0
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_SampleStepWithLists)->Unit(benchmark::kMicrosecond);

}  // namespace
