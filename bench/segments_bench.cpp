// Rebuilding the segment and its cycle on the largest library the data model holds, in
// whole-library mode, once per learn mode. Each rebuild follows a kill or a setting change, so it
// has to stay well below what the learner could notice.

#include "core/do_loading_bas.h"
#include "core/segments_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/default_instance.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// Answers every dialog at once: the mode-2 cycle of this library is longer than positions reach,
void FillLargestLibrary() {
  g_WordLines.clear();
  g_WordLines.reserve(kMaxLibraryLines);
  g_WordLines.emplace_back(QStringLiteral("{AC}"));
  for (int i = 1; i < kMaxLibraryLines; ++i) {
    g_WordLines.push_back(QStringLiteral("word%1@[wɜːd]n. 单词；字").arg(i));
  }
  g_LineCount = g_LineCountCopy = static_cast<std::int16_t>(kMaxLibraryLines - 1);
  g_DoSegment = false;
  g_Wait = false;
  g_Speed = 2000;
  g_UILanguage = QStringLiteral("C");
}

// The library is built once, by the first benchmark that runs.
void EnsureLargestLibrary() {
  static const bool filled = [] {
    FillLargestLibrary();
    return true;
  }();
  (void)filled;
}

void BM_PrepareSegmentWholeLibrary(benchmark::State& state) {
  EnsureLargestLibrary();
  g_LearnMode = static_cast<std::int16_t>(state.range(0));
  PrepareSegment(false);  // the first build after loading grows the tables
  for (auto _ : state) {
    g_CyclePos = 1000;
    PrepareSegment(false);
    benchmark::DoNotOptimize(g_CycleCount);
  }
  state.counters["lines"] = static_cast<double>(g_SegmentLines.size());
  state.counters["items"] = g_CycleCount;
}
BENCHMARK(BM_PrepareSegmentWholeLibrary)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The first build after the library was loaded, when the segment and cycle tables start empty.
void BM_FirstPrepareSegmentWholeLibrary(benchmark::State& state) {
  EnsureLargestLibrary();
  g_LearnMode = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    g_SegmentLines.clear();
    g_SegmentLines.shrink_to_fit();
    g_CycleTable.clear();
    g_CycleTable.shrink_to_fit();
    state.ResumeTiming();
    PrepareSegment(false);
    benchmark::DoNotOptimize(g_CycleCount);
  }
}
BENCHMARK(BM_FirstPrepareSegmentWholeLibrary)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
