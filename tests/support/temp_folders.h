#pragma once
// Temporary program and profile folders for tests. USERPROFILE points at the profile folder
// while the fixture lives, so no test touches the real home folder.

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

class TempFolders {
 public:
  TempFolders();
  ~TempFolders();
  TempFolders(const TempFolders&) = delete;
  TempFolders& operator=(const TempFolders&) = delete;

  QString programFolder() const { return root_.path() + "/program/"; }
  QString profileFolder() const { return root_.path() + "/profile/"; }
  QString libraryFolder() const { return root_.path() + "/library/"; }

  // Writes bytes to a file (creating folders) and returns its path.
  static QString writeFile(const QString& path, const QByteArray& bytes);
  static QByteArray readFile(const QString& path);

 private:
  QTemporaryDir root_;
  QByteArray oldProfile_;
  bool hadProfile_ = false;
};

}  // namespace testing_support
