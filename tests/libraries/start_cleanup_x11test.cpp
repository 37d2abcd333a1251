// The real program's start under Xvfb removes what an earlier run of its own left behind, and
// nothing else: every folder it searches is read back byte for byte after the start.
#include "tests/support/library_files.h"
#include "tests/support/program_run.h"
#include "tests/support/stale_entries.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <filesystem>
#include <functional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace testing_support;
using platform::ParseTemporaryName;
using platform::TemporaryKind;

enum class Outcome { Stays, Goes, PutBack };

struct Planted {
  QString folder;  // ends with "/"
  QString entry;
  std::function<bool(const QString& path)> make;  // false: cannot be made here (not root)
  Outcome outcome;
};

bool MakeFile(const QString& path, const QByteArray& bytes = "debris") {
  QFile file(path);
  return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
         file.write(bytes) == bytes.size();
}

bool MakePrivateFolder(const QString& path) {
  return MakeFile(path + "/files/Big.abc", "unpacked") && QDir().mkpath(path + "/downloads") &&
         ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}

bool GiveToAnotherUser(const QString& path) {
  if (::geteuid() != 0) return false;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(QFile::encodeName(path).toStdString(), ignored))
    static_cast<void>(::lchown(entry.path().c_str(), 65534, 65534));
  return ::lchown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
}

// The planted entries of a folder the test does not own ("/", "/etc", "/tmp") and the names they
// stand in for, read back.
QMap<QString, QByteArray> PlantedSnapshot(const QString& folder, const std::vector<Planted>& planted) {
  QMap<QString, QByteArray> entries;
  for (const Planted& item : planted) {
    if (item.folder != folder) continue;
    const auto parsed = ParseTemporaryName(item.entry);
    for (const QString& name : {item.entry, parsed ? parsed->baseName : QString()}) {
      if (name.isEmpty() || (!QFileInfo(folder + name).exists() && !QFileInfo(folder + name).isSymLink())) continue;
      entries.insert(name, EntrySnapshot(folder + name));
      const QMap<QString, QByteArray> inside = FolderSnapshot(folder + name);
      for (auto it = inside.begin(); it != inside.end(); ++it) entries.insert(name + '/' + it.key(), it.value());
    }
  }
  return entries;
}

class PlantedEntries {
 public:
  ~PlantedEntries() {
    for (const QString& path : made_) {
      std::error_code ignored;
      std::filesystem::remove_all(QFile::encodeName(path).toStdString(), ignored);
    }
  }
  bool plant(const Planted& item) {
    const QString path = item.folder + item.entry;
    made_.push_back(path);
    if (ParseTemporaryName(item.entry) && item.outcome == Outcome::PutBack)
      made_.push_back(item.folder + ParseTemporaryName(item.entry)->baseName);
    return item.make(path);
  }

 private:
  std::vector<QString> made_;
};

TEST(StartCleanupX11, RemovesOnlyItsOwnStaleEntriesInTheFoldersItWritesAndNothingElse) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  FixtureLibrary library;
  library.lines = QStringList{"{AC}"} + SampleWordLines(5);
  program.writeLibrary(library);
  const QString libraries = QFileInfo(program.libraryPath()).absolutePath() + '/';
  const QString programFolder = program.programFolder() + '/';
  const QString profile = program.profileFolder() + '/';
  const QTemporaryDir downloadRoot;
  const QString downloads = downloadRoot.path() + "/Corvel's Lexorn Library/";
  ASSERT_TRUE(QDir().mkpath(downloads));
  TempFolders::writeFile(profile + "CORVELSETUP.ini", "[GLOBAL]\nISNEW=\nLIBPATH=" + downloadRoot.path().toUtf8() + "\n");
  // The library list names the fixture library, and a learner's list names the system's folders.
  TempFolders::writeFile(programFolder + "TopicList.ini", "[AC:Words]\r\n@=" + libraries.toUtf8() +
                                                              "\r\n[AC:Root]\r\n@=/\r\n[AC:Etc]\r\n@=/etc/\r\n"
                                                              "[AC:Tmp]\r\n@=\\tmp\\\r\n");

  const long long dead = DeadProcessId();
  ASSERT_GT(dead, 0);
  QProcess sleeper;
  sleeper.start("sleep", {"120"});
  ASSERT_TRUE(sleeper.waitForStarted());
  const QString running = QString::number(sleeper.processId());
  const QString beyond = QString::number(4294967296LL + sleeper.processId());
  const auto ours = [&](const QString& base, TemporaryKind kind) { return TemporaryNameOfProcess(base, kind, dead); };
  const auto file = [](const QString& path) { return MakeFile(path); };
  const auto folder = [](const QString& path) { return MakeFile(path + "/holiday.jpg", "a picture"); };
  const auto privateFolder = [](const QString& path) { return MakePrivateFolder(path); };
  const auto foreign = [](const QString& path) { return MakeFile(path) && GiveToAnotherUser(path); };
  const auto foreignFolder = [](const QString& path) { return MakePrivateFolder(path) && GiveToAnotherUser(path); };
  const QString tmp = "/tmp/";

  const std::vector<Planted> planted = {
      // What an earlier run of the program left: temporaries of what it writes in each folder.
      {libraries, ours("Words.abc", TemporaryKind::Write), file, Outcome::Goes},
      {libraries, ours("Words.ini", TemporaryKind::Write), file, Outcome::Goes},
      {libraries, ours("download", TemporaryKind::Unpack), privateFolder, Outcome::Goes},
      {libraries, ours("Words.JPG", TemporaryKind::Keep), folder, Outcome::PutBack},
      {libraries, ours("Gone.JPG", TemporaryKind::Keep), folder, Outcome::PutBack},  // a library no longer listed
      {libraries, ours("Words." + QString(80, u'词') + ".dic", TemporaryKind::Write), file, Outcome::Goes},  // cut short
      {programFolder, ours("Settings.ini", TemporaryKind::Write), file, Outcome::Goes},
      {programFolder, ours("Tolbrand2", TemporaryKind::Download), file, Outcome::Goes},
      {profile, ours("CORVELSETUP.ini", TemporaryKind::Write), file, Outcome::Goes},
      {downloads, ours("download", TemporaryKind::Unpack), privateFolder, Outcome::Goes},
      {tmp, ours("download", TemporaryKind::Unpack), privateFolder, Outcome::Goes},
      // The learner's own hidden entries of a similar shape.
      {profile, ".thesis.2024.tmp-backup", file, Outcome::Stays},
      {profile, ".notes.1.tmp-draft1", file, Outcome::Stays},
      {profile, ".photos.2023.unpack-holiday", folder, Outcome::Stays},
      {libraries, ".report." + running + ".tmp-abcdef", file, Outcome::Stays},
      {libraries, ".x." + beyond + ".tmp-abcdef", file, Outcome::Stays},
      // The program's own shape, but not its to remove.
      {libraries, TemporaryNameOfProcess("Words.abc", TemporaryKind::Write, sleeper.processId()), file, Outcome::Stays},
      {libraries, TemporaryNameOfProcess("Words.abc", TemporaryKind::Write, 4294967296LL + dead), file, Outcome::Stays},
      {libraries, ours("Other.abc", TemporaryKind::Write), file, Outcome::Stays},
      {libraries, ours("Words.abc", TemporaryKind::Download), folder, Outcome::Stays},
      {downloads, ours("Big.abc", TemporaryKind::Write), file, Outcome::Stays},
      {libraries, TemporaryNameOfProcess("Words.abc", TemporaryKind::Write, DeadProcessId()), foreign, Outcome::Stays},
      // System folders a library list names.
      {"/", ".x." + QString::number(dead) + ".tmp-abcdef", file, Outcome::Stays},
      {"/", ours("x", TemporaryKind::Write), file, Outcome::Stays},
      {"/etc/", ".passwd." + QString::number(dead) + ".tmp-abcdef", file, Outcome::Stays},
      {"/etc/", ours("passwd", TemporaryKind::Write), file, Outcome::Stays},
      {tmp, ".otheruser-cache.4242.unpack-abc123", foreignFolder, Outcome::Stays},
      {tmp, TemporaryNameOfProcess("download", TemporaryKind::Unpack, DeadProcessId()), foreignFolder, Outcome::Stays},
      {tmp, ours("Tmp.abc", TemporaryKind::Write), foreign, Outcome::Stays},
  };
  PlantedEntries guard;
  std::vector<Planted> made;
  for (const Planted& item : planted) {
    if (guard.plant(item)) made.push_back(item);
  }
  if (::geteuid() == 0) {
    EXPECT_EQ(made.size(), planted.size());
  }

  const QStringList ownFolders{libraries, programFolder, profile, downloads};
  const QStringList systemFolders{"/", "/etc/", tmp};
  QMap<QString, QMap<QString, QByteArray>> expected;
  for (const QString& path : ownFolders) expected[path] = FolderSnapshot(path);
  for (const QString& path : systemFolders) expected[path] = PlantedSnapshot(path, made);
  const QStringList rootNames = QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  const QStringList etcNames = QDir("/etc").entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const Planted& item : made) {
    if (item.outcome == Outcome::Stays) continue;
    QMap<QString, QByteArray>& entries = expected[item.folder];
    for (const QString& path : entries.keys()) {
      if (path != item.entry && !path.startsWith(item.entry + '/')) continue;
      const QByteArray value = entries.take(path);
      if (item.outcome == Outcome::PutBack)
        entries.insert(ParseTemporaryName(item.entry)->baseName + path.mid(item.entry.size()), value);
    }
  }

  ASSERT_TRUE(program.startWithoutLibrary());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();  // the start is behind it
  program.process()->stop();

  for (const QString& path : ownFolders) {
    SCOPED_TRACE(path.toStdString());
    QMap<QString, QByteArray> after = FolderSnapshot(path);
    // The library manager draws the icon of a library's category when it lists the library.
    if (path == programFolder) {
      after.remove("_AC.bmp");
      after.remove("_AC.ico");
    }
    EXPECT_EQ(SnapshotDifference(expected[path], after), "");
  }
  for (const QString& path : systemFolders) {
    SCOPED_TRACE(path.toStdString());
    const QMap<QString, QByteArray> after = PlantedSnapshot(path, made);
    EXPECT_EQ(SnapshotDifference(expected[path], after), "");
  }
  EXPECT_EQ(QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).join(' ').toStdString(),
            rootNames.join(' ').toStdString());
  EXPECT_EQ(QDir("/etc").entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).join(' ').toStdString(),
            etcNames.join(' ').toStdString());
  sleeper.kill();
  sleeper.waitForFinished();
}

}  // namespace
