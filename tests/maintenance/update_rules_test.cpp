// The updaters' due rule: an item against the local file's modification time.

#include "maintenance/updater/update_rules.h"

#include "libraries/ServerListFile.h"
#include "tests/support/temp_folders.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using testing_support::TempFolders;

TEST(UpdateRules, AnItemIsDueWhenItsKnownBuildTimeIsLaterThanTheLocalFile) {
  TempFolders folders;
  const QDateTime modified(QDate(2009, 3, 5), QTime(8, 7, 9));
  const QString local = TempFolders::writeFile(folders.programFolder() + "Lib.abc", "old");
  QFile file(local);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
  file.close();
  const QString missing = folders.programFolder() + "Missing.abc";

  const struct {
    QString buildTime;
    QString localFile;
    bool due;
  } cases[] = {
      {BuildTimeText(modified.addSecs(1)), local, true},
      {BuildTimeText(modified), local, false},  // equal texts: current
      {BuildTimeText(modified.addSecs(-1)), local, false},
      {"20090305_08:07:09", missing, true},
      // An unknown build time is never due, not even for a missing file.
      {"Error", local, false},
      {"Error", missing, false},
      {"", missing, false},
      {"2099030508:07:09", missing, false},
      {"2099O305_08:07:09", local, false},
      {"20990305_08:07:09 ", local, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUpdateDue(c.buildTime, c.localFile), c.due) << c.buildTime.toStdString() << " " << c.localFile.toStdString();
  }
}

}  // namespace
