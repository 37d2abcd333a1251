// Reading one setting that only Settings.ini holds: the library settings file is read whole and
// misses it, then Settings.ini is read. The settings load does this some thirty times in a row.

#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/app/folders.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int kKeysPerFile = 40;

// A settings file of kKeysPerFile keys shaped like the real ones; the last key is lastKey.
QByteArray SettingsFile(const QByteArray& section, const QByteArray& keyPrefix, const QByteArray& lastKey) {
  QByteArray text = "[" + section + "]\r\n";
  for (int i = 1; i < kKeysPerFile; ++i) {
    text += keyPrefix + QByteArray::number(i) + "=" + QByteArray::number(i * 37) + "\r\n";
  }
  text += lastKey + "=Arial;0:12\r\n";
  return text;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

void BM_ReadSettingFoundInSettingsIni(benchmark::State& state) {
  QTemporaryDir folder;
  const QString root = folder.path() + "/";
  WriteFile(root + "Travel.ini", SettingsFile("Normal", "WordLibrarySetting", "WordShowCounter"));
  WriteFile(root + "Settings.ini", SettingsFile("Global", "WordProgramSetting", "WordFont"));
  platform::SetProgramFolder(root);
  g_LibraryFolder = root;
  g_LibraryFileName = "Travel.abc";

  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadSetting("WordFont", "SimSun;0:9"));
  }
  if (ReadSetting("WordFont", "missing") != "Arial;0:12") state.SkipWithError("the key was not found");
  platform::SetProgramFolder({});
}
BENCHMARK(BM_ReadSettingFoundInSettingsIni)->Unit(benchmark::kMicrosecond);

}  // namespace
