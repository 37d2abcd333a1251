// Filling the library manager's list from a TopicList.ini of 1,000 libraries in 20 language
// pairs, with the pairs' flags already composed and stored (every fill after the first).

#include "core/vars_bas.h"
#include "libraries/ComboBoxEx.h"
#include "libraries/frmManager.h"
#include "platform/app/folders.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace {

constexpr int kLibraries = 1000;
constexpr int kPairs = 20;

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// The twelve category pictures: a coloured flag on a magenta ground.
void WriteCategoryPictures(const QString& folder) {
  for (std::size_t i = 0; i < kCategoryLetters.size(); ++i) {
    QImage flag(32, 32, QImage::Format_RGB32);
    flag.fill(QColor::fromHsv(static_cast<int>(i) * 30, 255, 220));
    flag.setPixel(0, 0, qRgb(255, 0, 255));
    flag.save(folder + "_" + QChar(kCategoryLetters[i]) + ".bmp", "BMP");
  }
}

void BM_FillLibraryCombo(benchmark::State& state) {
  QTemporaryDir root;
  const QString program = root.path() + "/program/";
  const QString libraries = root.path() + "/libraries/";
  QDir().mkpath(program);
  QDir().mkpath(libraries);
  WriteCategoryPictures(program);
  QByteArray list;
  for (int i = 0; i < kLibraries; ++i) {
    const int pair = i % kPairs;
    const QString code = QString(QChar(kCategoryLetters[static_cast<std::size_t>(pair % 12)])) +
                         QChar(kCategoryLetters[static_cast<std::size_t>((pair / 12 + pair + 1) % 12)]);
    const QString name = QStringLiteral("Library %1").arg(i, 4, 10, QLatin1Char('0'));
    WriteFile(libraries + name + ".abc", QByteArray("\xFF\xFE{\0", 4) + code.toUtf8().insert(1, '\0') + "\0}\0");
    list += "[" + code.toUtf8() + ":" + name.toUtf8() + "]\r\n@=" + libraries.toUtf8() + "\r\n";
  }
  WriteFile(program + "TopicList.ini", list);
  platform::SetProgramFolder(program);
  g_UILanguage = "A";

  frmManager& manager = frmManager::instance();  // the first fill composes and stores the flags
  for (auto _ : state) manager.FillLibraryCombo("X");
  if (manager.Cmb_Library.ListCount() != kLibraries + 3) state.SkipWithError("not every library was listed");
  state.counters["flags"] = manager.Cmb_Library.images().GetImageCount();
  frmManager::unload();
  platform::DeleteUnloadedForms();
  platform::SetProgramFolder({});
}
BENCHMARK(BM_FillLibraryCombo)->Unit(benchmark::kMillisecond);

}  // namespace
