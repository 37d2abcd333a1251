// One look-up of the dictionary pop-up in a dictionary library of 30,000 entries: in the library
// file itself (no dictionary folder) and in a dictionary folder of three files of 10,000 each.
// The word looked up is the last entry, so every line is passed.

#include "libraries/dictionary_lookup.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kEntries = 30'000;

QString Word(int i) { return QStringLiteral("word%1").arg(i, 5, 10, QLatin1Char('0')); }

// A UTF-16LE INI file with the byte-order mark: section ALL with entries [first, last).
void WriteDictionary(const QString& path, int first, int last) {
  QString text = QStringLiteral("{AC}#\r\n[ALL]\r\n");
  for (int i = first; i < last; ++i) text += Word(i) + QStringLiteral("=n. 单词；词语 第%1个\r\n").arg(i);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write("\xFF\xFE", 2);
  file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

void BM_LookUpInLibraryFile(benchmark::State& state) {
  QTemporaryDir root;
  const QString folder = root.path() + QStringLiteral("/");
  WriteDictionary(folder + QStringLiteral("Dictionary.abc"), 0, kEntries);
  const QString last = Word(kEntries - 1);
  for (auto _ : state) benchmark::DoNotOptimize(LookUpMeaning(folder, QStringLiteral("Dictionary"), last));
  if (LookUpMeaning(folder, QStringLiteral("Dictionary"), last) == kMeaningNotFound) state.SkipWithError("not found");
}
BENCHMARK(BM_LookUpInLibraryFile)->Unit(benchmark::kMillisecond);

void BM_LookUpInDictionaryFolder(benchmark::State& state) {
  QTemporaryDir root;
  const QString folder = root.path() + QStringLiteral("/");
  QDir().mkpath(folder + QStringLiteral("Dictionary.dic"));
  constexpr int kFiles = 3;
  for (int k = 0; k < kFiles; ++k)
    WriteDictionary(folder + QStringLiteral("Dictionary.dic/Dictionary_%1.dic").arg(k + 1), k * kEntries / kFiles,
                    (k + 1) * kEntries / kFiles);
  const QString last = Word(kEntries - 1);
  for (auto _ : state) benchmark::DoNotOptimize(LookUpMeaning(folder, QStringLiteral("Dictionary"), last));
  if (LookUpMeaning(folder, QStringLiteral("Dictionary"), last) == kMeaningNotFound) state.SkipWithError("not found");
}
BENCHMARK(BM_LookUpInDictionaryFolder)->Unit(benchmark::kMillisecond);

}  // namespace
