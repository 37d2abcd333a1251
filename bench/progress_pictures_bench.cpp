// The progress texts with the percentage box's repaint on the largest library the 16-bit line
// counts allow, and one word step that shows a large word picture (a 1000 x 1000 pixel JPEG,
// decoded anew at every step), under the offscreen platform.

#include "bar/SkolvaneBar.h"
#include "core/progress_texts_bas.h"
#include "core/vars_bas.h"
#include "core/word_pictures_bas.h"
#include "platform/app/folders.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

// The program folder the build assembles beside the benchmarks, for the language files.
void UseBuiltProgramFolder() {
  platform::SetProgramFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/../app/"));
  g_UILanguage = QStringLiteral("C");
}

SkolvaneBar& ShownBar() {
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.Tim_Wait->setEnabled(false);
  g_BarShown = true;
  bar.show();
  return bar;
}

void BM_RefreshInfoLabelsAndRepaint(benchmark::State& state) {
  UseBuiltProgramFolder();
  SkolvaneBar& bar = ShownBar();
  bar.Pic_percent->twips().move(5880, 0, 600, 360);
  g_LineCount = g_LineCountCopy = 32767;
  g_CycleCount = 20000;
  g_DoSegment = true;
  g_SegmentSize = QStringLiteral("90");
  g_SegmentLineCount = 90;
  g_SegmentCycleCount = 40;
  g_TargetPercentage = QStringLiteral("33");
  for (auto _ : state) {
    bar.Pic_percent_Paint();
    bar.Pic_percent->repaint();
  }
  if (bar.Lbl_SysInfo->caption().isEmpty()) state.SkipWithError("no status text");
  SkolvaneBar::unload();
}
BENCHMARK(BM_RefreshInfoLabelsAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_WordStepWithLargePicture(benchmark::State& state) {
  QTemporaryDir library;
  QDir(library.path()).mkpath(QStringLiteral("Words.JPG"));
  QImage photo(1000, 1000, QImage::Format_RGB32);
  {
    QPainter painter(&photo);
    QLinearGradient gradient(0, 0, 1000, 1000);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(photo.rect(), gradient);
    for (int i = 0; i < 200; ++i) painter.drawEllipse(QPoint((i * 37) % 1000, (i * 91) % 1000), 30, 30);
  }
  photo.save(library.filePath(QStringLiteral("Words.JPG/photo.jpg")), "JPG", 90);

  UseBuiltProgramFolder();
  SkolvaneBar& bar = ShownBar();
  g_LibraryFolder = library.path() + QLatin1Char('/');
  g_LibraryFileName = QStringLiteral("Words.abc");
  g_ShowPicture = true;
  g_ShowPhonetic = true;
  g_Wait = true;
  g_SoundMode = QStringLiteral("0");
  g_PhoneticSymbolStart = QStringLiteral("[");
  g_PhoneticSymbolEnd = QStringLiteral("]");
  g_CycleTable = {{QStringLiteral("photo  [ˈfəʊtəʊ]n. 照片"), QStringLiteral("0"), QStringLiteral("6")}};
  g_CycleCount = g_CycleFirst = g_CycleLast = g_CyclePos = 1;
  bar.Pic_ShowPicture->twips().move(0, 0, 6480, 1230);  // an 80-pixel picture row
  bar.Pic_ShowPicture->show();

  for (auto _ : state) bar.runtimer();
  if (bar.Pic_ShowPicture->image().pixelColor(2, 2) == bar.Pic_ShowPicture->backColor()) {
    state.SkipWithError("the picture was not shown");
  }
  SkolvaneBar::unload();
}
BENCHMARK(BM_WordStepWithLargePicture)->Unit(benchmark::kMillisecond);

}  // namespace
