#pragma once
// A folder's whole content for before-and-after comparisons: every entry below it, hidden ones
// included, by its path relative to the folder, with a file's bytes (a folder maps to "/").

#include <QByteArray>
#include <QMap>
#include <QString>

namespace testing_support {

QMap<QString, QByteArray> FolderContent(const QString& folder);

}  // namespace testing_support
