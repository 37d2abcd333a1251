// One look-up of the dictionary pop-up in a dictionary library of 30,000 entries: in the library
// file itself (no dictionary folder) and in a dictionary folder of three files of 10,000 each.
// The word looked up is the last entry, so every line is passed.
//
// And the whole road from a new selection to its meaning drawn in the pop-up: the word grabber
// deciding that the selection rests, the look-up, the rows and the window placed. Once with the
// pointer's buttons seen released (an X11 session), once where they cannot be seen and the
// grabber waits for the selection to stay unchanged.

#include "core/vars_bas.h"
#include "libraries/dictionary_lookup.h"
#include "libraries/frmGetWord.h"
#include "platform/wordcapture/word_grabber.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

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

// A selection another program makes, with the pointer's buttons released or not seen at all.
class BenchSelection : public platform::SelectionSource {
 public:
  explicit BenchSelection(std::optional<bool> buttonsHeld) : buttonsHeld_(buttonsHeld) {}
  QString text() const override { return text_; }
  std::optional<bool> stillSelecting() const override { return buttonsHeld_; }
  void select(const QString& text) {
    text_ = text;
    emit changed();
  }

 private:
  std::optional<bool> buttonsHeld_;
  QString text_;
};

void BM_SelectionToMeaningDrawn(benchmark::State& state) {
  const std::optional<bool> buttonsHeld = state.range(0) != 0 ? std::optional<bool>(false) : std::nullopt;
  QTemporaryDir root;
  g_LibraryFolder = root.path() + QStringLiteral("/");
  g_LibraryTitle = QStringLiteral("Dictionary.abc");
  WriteDictionary(g_LibraryFolder + g_LibraryTitle, 0, kEntries);
  BenchSelection* selection = nullptr;  // owned by the pop-up's grabber
  platform::SetSelectionSourceFactory([&] {
    auto source = std::make_unique<BenchSelection>(buttonsHeld);
    selection = source.get();
    return source;
  });
  // The offscreen platform warns at every placing of the window on top; the warnings are no part
  // of the road measured.
  const QtMessageHandler previousHandler =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  frmGetWord& popup = frmGetWord::instance();
  popup.setReturnToManager(false);
  int i = 0;
  for (auto _ : state) {
    // Alternate between two words, so each selection is new and its meaning differs.
    const QString word = Word(++i % 2 == 0 ? kEntries - 1 : kEntries - 2);
    selection->select(QStringLiteral("(") + word + QStringLiteral("), and more"));
    const QString expected = QStringLiteral("n. 单词；词语 第%1个").arg(word.mid(4).toInt());
    while (!popup.lines().join(QString()).startsWith(expected))
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  frmGetWord::unload();
  platform::SetSelectionSourceFactory(nullptr);
  qInstallMessageHandler(previousHandler);
}
BENCHMARK(BM_SelectionToMeaningDrawn)
    ->ArgName("buttons_seen")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
