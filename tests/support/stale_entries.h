#pragma once
// Helpers for tests of what an interrupted run leaves behind: a process id that no longer runs,
// the program's temporary names made for such a process, and a whole folder read back for a
// byte-for-byte comparison.

#include "platform/files/own_temporary_names.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <string>

namespace testing_support {

// The id of a child process that has ended and been reaped.
long long DeadProcessId();

// A name NewTemporaryName would give `baseName` in the process `pid`.
QString TemporaryNameOfProcess(const QString& baseName, platform::TemporaryKind kind, long long pid);

// One entry read back without following a link: a file's bytes, "<folder>" for a folder, "<link>
// target" for a symbolic link, after its owner and permission bits ("uid 0 mode 644 ").
QByteArray EntrySnapshot(const QString& path);

// Every entry under `folder`, hidden ones and subfolders included, by its path relative to it, as
// EntrySnapshot reads it.
QMap<QString, QByteArray> FolderSnapshot(const QString& folder);

// What differs between two snapshots, one line per entry ("missing: x", "added: y", "changed: z");
// empty when they are equal.
std::string SnapshotDifference(const QMap<QString, QByteArray>& expected, const QMap<QString, QByteArray>& actual);

}  // namespace testing_support
