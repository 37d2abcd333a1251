// The main of every benchmark: forms and drawing under Qt's offscreen platform, and dialogs that
// answer at once, so a benchmark never waits for a display or a click.
#include "platform/dialogs/dialogs.h"
#include "platform/forms/default_instance.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  platform::SetDialogProvider(platform::MakeSilentDialogs());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  platform::UnloadAllForms();
  platform::SetDialogProvider(nullptr);
  return 0;
}
