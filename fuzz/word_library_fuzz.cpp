// Arbitrary bytes as a word library file: the loader and the header probes must neither crash nor
// hang, the tables must stay consistent, and saving what was loaded must load back the same lines.

#include "core/do_loading_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace {

// In memory where the system offers it: every run saves the library, and a disk's flush would
// slow the fuzzer down a hundredfold.
const QString& LibraryPath() {
  static const QTemporaryDir folder(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                        ? QStringLiteral("/dev/shm/word_library_fuzz-XXXXXX")
                                        : QDir::tempPath() + QStringLiteral("/word_library_fuzz-XXXXXX"));
  static const QString path = folder.path() + "/Fuzz.abc";
  return path;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

std::vector<QString> LoadedLines() {
  return {g_WordLines.begin(), g_WordLines.begin() + g_LineCountCopy + 1};
}

void CheckTables() {
  Check(g_LineCount == g_LineCountCopy && g_LineCountCopy >= 0);
  Check(static_cast<std::size_t>(g_LineCountCopy) < g_WordLines.size());
  Check(g_GroupCount >= 0 && g_GroupCount <= kMaxWordGroups);
  int grouped = g_GroupCount;
  for (int g = 1; g <= g_GroupCount; ++g) grouped += g_Groups[static_cast<std::size_t>(g)].lineCount;
  Check(grouped <= g_LineCountCopy + 1);
  for (const QString& line : LoadedLines()) Check(!line.contains(u'\r') && !line.contains(u'\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool installed = [] {
    platform::SetDialogProvider(platform::MakeSilentDialogs());
    return true;
  }();
  (void)installed;

  const QString& path = LibraryPath();
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  // Odd-sized inputs also exercise the group headers.
  g_GroupSymbolStart = size % 2 ? QStringLiteral("<") : QString();
  g_GroupSymbolEnd = size % 2 ? QStringLiteral(">") : QString();
  g_LibraryPath = path;

  (void)ReadLibraryHeader(path);
  (void)LibraryHasHashAfterHeader(path);
  const bool loaded = LoadWordLibrary();
  CheckTables();
  if (!loaded) return 0;

  const std::vector<QString> lines = LoadedLines();
  const QString source = g_SourceLang;
  const QString target = g_TargetLang;
  const auto groupCount = g_GroupCount;
  Check(SaveWordLibrary() == LibrarySave::Saved);
  Check(LoadWordLibrary());
  Check(LoadedLines() == lines);
  Check(g_SourceLang == source && g_TargetLang == target && g_GroupCount == groupCount);
  return 0;
}
