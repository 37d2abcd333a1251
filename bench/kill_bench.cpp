// One kill with rebuild in the largest library the data model holds: check that the library file
// is still what was loaded, mark the shown word, write the library file (fsync included), count
// the day, rebuild the segment and its cycle. The learner waits for all of it after pressing the
// key (the hot key's fixed pause is not part of it).

#include "core/do_loading_bas.h"
#include "core/kill_bas.h"
#include "core/library_file_stamp.h"
#include "core/segments_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/default_instance.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Writes the library into `folder` and opens it, as the bar would; false when it could not be
// written. Each repetition calls it on a new folder: the stamp of the previous repetition's
// library is forgotten first, or the save would take the new file for one changed elsewhere.
bool OpenLargestLibrary(const QString& folder) {
  g_LibraryFolder = folder + QStringLiteral("/");
  g_LibraryFileName = QStringLiteral("Largest.abc");
  g_LibraryPath = g_LibraryFolder + g_LibraryFileName;
  g_WordLines.clear();
  g_WordLines.reserve(kMaxLibraryLines);
  g_WordLines.emplace_back(QStringLiteral("{AC}"));
  for (int i = 1; i < kMaxLibraryLines; ++i) g_WordLines.push_back(QStringLiteral("word%1@[wɜːd]n. 单词；字").arg(i));
  g_LineCount = g_LineCountCopy = static_cast<std::int16_t>(kMaxLibraryLines - 1);
  ForgetLibraryFile();
  if (SaveWordLibrary() != LibrarySave::Saved) return false;
  g_DoSegment = false;
  g_Wait = false;
  g_LearnMode = 1;
  g_Speed = 2000;
  g_UILanguage = QStringLiteral("C");
  g_CyclePos = 1;
  PrepareSegment(false);
  return g_CycleCount > 0;
}

// The bar shows the row at the middle of the cycle, as a word step leaves it.
void ShowMiddleRow() {
  const int row = g_CycleCount / 2;
  g_CurrentText = g_CycleTable[static_cast<size_t>(row)].text;
  g_CyclePos = static_cast<std::int16_t>(row + 2);
}

void BM_KillCurrentWordAndRebuild(benchmark::State& state) {
  QTemporaryDir folder;
  if (!OpenLargestLibrary(folder.path())) {
    state.SkipWithError("the library could not be written and opened");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    ShowMiddleRow();
    state.ResumeTiming();
    KillCurrentWordAndRebuild();
    benchmark::DoNotOptimize(g_CycleCount);
  }
  state.counters["lines"] = g_LineCountCopy;
  state.counters["items_left"] = g_CycleCount;
}
BENCHMARK(BM_KillCurrentWordAndRebuild)->Unit(benchmark::kMillisecond);

// The same when something touched the library file since it was written (same bytes, new time):
// the check then reads the whole file and compares its hash before the kill goes on.
void BM_KillCurrentWordAndRebuildAfterTouch(benchmark::State& state) {
  QTemporaryDir folder;
  if (!OpenLargestLibrary(folder.path())) {
    state.SkipWithError("the library could not be written and opened");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    ShowMiddleRow();
    ::utimensat(AT_FDCWD, QFile::encodeName(g_LibraryPath).constData(), nullptr, 0);  // now
    state.ResumeTiming();
    KillCurrentWordAndRebuild();
    benchmark::DoNotOptimize(g_CycleCount);
  }
  state.counters["lines"] = g_LineCountCopy;
}
BENCHMARK(BM_KillCurrentWordAndRebuildAfterTouch)->Unit(benchmark::kMillisecond);

}  // namespace
