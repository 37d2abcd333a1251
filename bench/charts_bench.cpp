// Opening the all-words chart on the largest library the data model holds: from the menu click
// to the chart window drawn on the screen, one square per word line.

#include "core/do_loading_bas.h"
#include "core/segments_bas.h"
#include "core/vars_bas.h"
#include "platform/forms/default_instance.h"
#include "progress/charts/frmStatisticsA.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

namespace {

void OpenLargestLibrary() {
  g_WordLines.clear();
  g_WordLines.reserve(kMaxLibraryLines);
  g_WordLines.emplace_back(QStringLiteral("{AC}"));
  for (int i = 1; i < kMaxLibraryLines; ++i) {
    const QString mark = i % 3 == 0 ? QStringLiteral("*") : QString();
    g_WordLines.push_back(mark + QStringLiteral("word%1@[wɜːd]n. 单词；字").arg(i));
  }
  g_LineCount = g_LineCountCopy = static_cast<std::int16_t>(kMaxLibraryLines - 1);
  g_DoSegment = false;
  g_LearnMode = 1;
  g_UILanguage = QStringLiteral("C");
  PrepareSegment(false);
}

void BM_OpenAllWordsChart(benchmark::State& state) {
  OpenLargestLibrary();
  for (auto _ : state) {
    frmStatisticsA& chart = frmStatisticsA::instance();
    chart.show();
    QCoreApplication::processEvents();  // the window is mapped and painted
    chart.Picture_chart->repaint();
    state.PauseTiming();
    frmStatisticsA::unload();
    platform::DeleteUnloadedForms();
    state.ResumeTiming();
  }
  state.counters["lines"] = g_LineCountCopy;
}
BENCHMARK(BM_OpenAllWordsChart)->Unit(benchmark::kMillisecond);

}  // namespace
