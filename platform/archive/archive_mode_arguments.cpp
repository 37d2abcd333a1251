#include "platform/archive/archive_mode_arguments.h"

namespace platform {
namespace {

const QString kOnlyOption = QStringLiteral("--only=");

}  // namespace

QStringList WriteArchiveModeArguments(const ArchiveModeArguments& arguments) {
  QStringList written{arguments.archivePath, arguments.folder};
  if (!arguments.onlyBeginning.isEmpty()) written << kOnlyOption + arguments.onlyBeginning;
  return written;
}

std::optional<ArchiveModeArguments> ReadArchiveModeArguments(const QStringList& arguments) {
  if (arguments.size() < 2 || arguments.size() > 3) return std::nullopt;
  ArchiveModeArguments read{arguments[0], arguments[1], {}};
  if (arguments.size() == 3) {
    if (!arguments[2].startsWith(kOnlyOption) || arguments[2].size() == kOnlyOption.size()) return std::nullopt;
    read.onlyBeginning = arguments[2].mid(kOnlyOption.size());
  }
  return read;
}

}  // namespace platform
