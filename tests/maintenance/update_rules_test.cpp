// The updaters' rules: whether an item is due against the local file's modification time, and
// what the update policy accepts (addresses, target files, replacements for programs).

#include "maintenance/updater/update_policy.h"
#include "maintenance/updater/update_rules.h"

#include "libraries/ServerListFile.h"
#include "tests/support/temp_folders.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using testing_support::TempFolders;

TEST(UpdateRules, AnItemIsDueWhenItsFileIsMissingOrItsKnownBuildTimeIsLater) {
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
      // A missing file is due whatever its build time; an existing one needs a known, later one.
      {"Error", local, false},
      {"Error", missing, true},
      {"", missing, true},
      {"2099030508:07:09", missing, true},
      {"2099O305_08:07:09", local, false},
      {"20990305_08:07:09 ", local, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsUpdateDue(c.buildTime, c.localFile), c.due) << c.buildTime.toStdString() << " " << c.localFile.toStdString();
  }
}

TEST(UpdatePolicy, OnlyHttpsOrLoopbackHttpAddressesAreFetched) {
  const struct {
    const char* address;
    bool accepted;
  } cases[] = {
      {"https://update.example.org/Update/list.ini", true},
      {"HTTPS://update.example.org/x", true},
      {"http://127.0.0.1:8080/list.ini", true},
      {"https://update.example.org/Windows Recycle.wav", true},  // judged as sent: percent-encoded
      {"http://127.0.0.1/100% #1 Wörter.dat", true},
      {"http://update.example.org/a b.dat", false},
      {"http://127.4.5.6/x", true},
      {"http://[::1]:99/x", true},
      {"http://update.example.org/list.ini", false},
      {"http://localhost/x", false},           // a name may resolve anywhere
      {"http://0127.0.0.1/x", false},          // octal: 87.0.0.1, as resolvers read it
      {"http://127.1/x", true},                // the short form of 127.0.0.1
      {"http://127.0.0.1.example.org/x", false},
      {"http://[::ffff:127.0.0.1]/x", false},
      {"ftp://127.0.0.1/x", false},
      {"file:///etc/passwd", false},
      {"Errorlist.ini", false},
      {"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAcceptedUpdateAddress(QString::fromUtf8(c.address)), c.accepted) << c.address;
  }
  for (const char* name : {"TopicList.ini", "settings.ini", "CORVELSETUP.INI"}) EXPECT_TRUE(IsLearnersFile(name)) << name;
  for (const char* name : {"LANG_C.dat", "Corvel'sLexorn2", "TopicList.ini.bak"}) EXPECT_FALSE(IsLearnersFile(name)) << name;
}

TEST(UpdatePolicy, AProgramIsReplacedOnlyByAProgramOfThisMachine) {
  TempFolders folders;
  QFile self("/proc/self/exe");
  ASSERT_TRUE(self.open(QIODevice::ReadOnly));
  const QByteArray ours = self.read(4096);
  ASSERT_TRUE(ours.startsWith("\x7f" "ELF"));
  auto patched = [&ours](int offset, char byte) {
    QByteArray bytes = ours;
    bytes[offset] = byte;
    return bytes;
  };
  const struct {
    const char* name;
    QByteArray bytes;
    bool program;
  } cases[] = {
      {"this machine's program", ours, true},
      {"a script", "#!/bin/sh\necho replaced\n", false},
      {"another machine", patched(18, static_cast<char>(ours[18] ^ 0x20)), false},
      {"another class", patched(4, static_cast<char>(ours[4] == 2 ? 1 : 2)), false},
      {"a core dump", patched(16, 4), false},
      {"a cut header", ours.left(12), false},
      {"nothing", "", false},
  };
  for (const auto& c : cases) {
    const QString path = TempFolders::writeFile(folders.programFolder() + "candidate", c.bytes);
    EXPECT_EQ(IsProgramOfThisMachine(path), c.program) << c.name;
  }
}

}  // namespace
