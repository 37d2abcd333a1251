// Loading and saving a library of 32,767 lines, near the largest a library can hold.

#include "core/do_loading_bas.h"
#include "core/vars_bas.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdlib>

namespace {

constexpr int kLines = 32767;

// Writes the header and kLines - 1 word lines in the library format; returns false on failure.
bool WriteLargeLibrary(const QString& path) {
  QString text = QStringLiteral("{AC}");
  for (int i = 1; i < kLines; ++i) text += QStringLiteral("\r\nword%1@[wɜːd]n. 单词；字").arg(i);
  QByteArray bytes("\xFF\xFE", 2);
  bytes.resize(2 + text.size() * 2);
  qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data() + 2);
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class LargeLibrary : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State&) override {
    g_LibraryPath = folder_.path() + "/Large.abc";
    if (!WriteLargeLibrary(g_LibraryPath)) std::abort();
  }

 private:
  QTemporaryDir folder_;
};

BENCHMARK_DEFINE_F(LargeLibrary, Load)(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(LoadWordLibrary());
  }
  if (g_LineCountCopy != kLines - 1) state.SkipWithError("the library did not load whole");
}

BENCHMARK_DEFINE_F(LargeLibrary, Save)(benchmark::State& state) {
  if (!LoadWordLibrary()) std::abort();
  for (auto _ : state) {
    benchmark::DoNotOptimize(SaveWordLibrary());
  }
}

BENCHMARK_REGISTER_F(LargeLibrary, Load)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(LargeLibrary, Save)->Unit(benchmark::kMillisecond);

}  // namespace
