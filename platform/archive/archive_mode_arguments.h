#pragma once
// The reader's archive mode command line: the archive, the folder to unpack into and, when only
// some entries are wanted, the beginning of their first name step. Written by the program and
// read by the reader, here once.

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

struct ArchiveModeArguments {
  QString archivePath;
  QString folder;
  QString onlyBeginning;  // empty: every entry
};

QStringList WriteArchiveModeArguments(const ArchiveModeArguments& arguments);
// Nothing when the command line is not one WriteArchiveModeArguments writes.
std::optional<ArchiveModeArguments> ReadArchiveModeArguments(const QStringList& arguments);

}  // namespace platform
