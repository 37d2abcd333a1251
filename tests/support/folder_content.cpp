#include "tests/support/folder_content.h"

#include "tests/support/temp_folders.h"

#include <QDir>
#include <QDirIterator>

namespace testing_support {

QMap<QString, QByteArray> FolderContent(const QString& folder) {
  QMap<QString, QByteArray> content;
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    content.insert(QDir(folder).relativeFilePath(path), it.fileInfo().isDir() ? "/" : TempFolders::readFile(path));
  }
  return content;
}

}  // namespace testing_support
