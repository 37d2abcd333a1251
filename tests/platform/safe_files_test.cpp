// The one write path and the one read path of the program, on real file systems: a full disk
// fails the write and leaves the old file whole, and nothing but a regular file is ever read.
#include "platform/files/checked_replace.h"
#include "platform/files/own_temporary_names.h"
#include "platform/files/picture_file.h"
#include "platform/files/safe_read.h"
#include "platform/files/safe_write.h"

#include "core/do_loading_bas.h"
#include "core/vars_bas.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/skip_log.h"
#include "tests/support/small_file_system.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

QStringList FilesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Each of the program's writers, told to replace `path` with content larger than the old file.
struct Writer {
  const char* name;
  std::function<bool(const QString& path)> write;
};

std::vector<Writer> ProgramWriters() {
  return {
      {"the helper", [](const QString& path) { return platform::WriteFileAtomically(path, QByteArray(20000, 'n')); }},
      {"the picture writer",
       [](const QString& path) {
         QImage picture(128, 128, QImage::Format_RGB32);
         picture.fill(Qt::red);
         return platform::WritePictureFile(picture, path, "BMP");
       }},
      {"the INI writer",
       [](const QString& path) {
         return platform::WriteProfileString(path, "Normal", "WordFont", QString(3000, u'f')) != 0;
       }},
      {"the library writer",
       [](const QString& path) {
         g_LibraryPath = path;
         g_GroupSymbolStart.clear();
         g_GroupSymbolEnd.clear();
         LoadWordLibrary();
         g_WordLines.resize(2);
         g_WordLines[1] = QString(5000, u'w');
         g_LineCountCopy = 1;
         return SaveWordLibrary() == LibrarySave::Saved;
       }},
  };
}

TEST(SafeWrite, AFullDiskFailsEveryWriterAndLeavesTheOldFileByteForByte) {
  const testing_support::SmallFileSystem disk(64);
  if (!disk.mounted()) SKIP_AS_THE_MACHINE_LACKS("a tmpfs mount of its own: " << disk.error().toStdString());
  testing_support::ScopedRecordingDialogs dialogs;

  for (const Writer& writer : ProgramWriters()) {
    SCOPED_TRACE(writer.name);
    const QString path = disk.folder() + "Words.abc";
    const QByteArray old = LibraryBytes(QStringList{"{AC}", "kept@[k]", "[Normal]"});
    TempFolders::writeFile(path, old);
    disk.fill();
    dialogs->messages.clear();

    EXPECT_FALSE(writer.write(path));
    EXPECT_EQ(TempFolders::readFile(path), old);
    EXPECT_EQ(FilesIn(disk.folder()), (QStringList{".filler", "Words.abc"})) << "no temporary file left";

    disk.unfill();
    EXPECT_TRUE(writer.write(path)) << "the same write succeeds once there is room";
  }
  // Only the library writer tells the learner itself, naming the file.
  ASSERT_EQ(dialogs->messages.size(), 1u);
  EXPECT_TRUE(dialogs->messages[0].text.contains(disk.folder() + "Words.abc"));
}

TEST(SafeWrite, AFileOfTheLongestNameIsWrittenByEveryWriterThroughOneTemporaryNameTheCleanUpKnows) {
  testing_support::ScopedRecordingDialogs dialogs;
  // 250-byte names, with the four-byte extension: the longest a library's files may have.
  const QString bases[] = {"Words", QString(246, u'w'), QString(82, u'词')};
  for (const QString& base : bases) {
    const TempFolders folders;
    const QString folder = folders.libraryFolder();
    const QString path = folder + base + ".abc";
    SCOPED_TRACE(QString::number(QFile::encodeName(QFileInfo(path).fileName()).size()).toStdString() + " bytes");
    for (const Writer& writer : ProgramWriters()) {
      SCOPED_TRACE(writer.name);
      TempFolders::writeFile(path, LibraryBytes(QStringList{"{AC}", "kept@[k]", "[Normal]"}));
      EXPECT_TRUE(writer.write(path));
      EXPECT_EQ(FilesIn(folder), QStringList{QFileInfo(path).fileName()}) << "no temporary file left";
    }
    // While the checked replace waits for its last check, its staging file is one temporary name,
    // made for the library's own name.
    QStringList staged;
    const auto look = [&] {
      staged = FilesIn(folder);
      staged.removeAll(QFileInfo(path).fileName());
      return true;
    };
    ASSERT_EQ(platform::ReplaceFileUnlessChanged(path, "new", look), platform::ReplaceResult::Replaced);
    ASSERT_EQ(staged.size(), 1);
    std::optional<platform::TemporaryName> name = platform::ParseTemporaryName(staged[0]);
    ASSERT_TRUE(name.has_value()) << staged[0].toStdString();
    EXPECT_TRUE(platform::ResolveCutBaseName(*name, FilesIn(folder)));
    EXPECT_EQ(name->baseName, QFileInfo(path).fileName());
    EXPECT_EQ(name->kind, platform::TemporaryKind::Write);
  }
  EXPECT_TRUE(dialogs->messages.empty());
}

TEST(SafeWrite, KeepsPermissionsFollowsLinksAndRefusesWhatIsNotARegularFile) {
  const TempFolders folders;
  const QString folder = folders.libraryFolder();
  const QString target = TempFolders::writeFile(folder + "target.ini", "old");
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
  ASSERT_TRUE(QFile::link(target, folder + "link.ini"));

  ASSERT_TRUE(platform::WriteFileAtomically(folder + "link.ini", "new"));
  EXPECT_TRUE(QFileInfo(folder + "link.ini").isSymLink());
  EXPECT_EQ(TempFolders::readFile(target), "new");
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  QDir().mkpath(folder + "folder.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(folder + "fifo.ini").constData(), 0644), 0);
  for (const char* name : {"folder.ini", "fifo.ini"}) {
    QString reason;
    EXPECT_FALSE(platform::WriteFileAtomically(folder + name, "x", &reason)) << name;
    EXPECT_FALSE(reason.isEmpty());
  }
  ASSERT_EQ(::stat(QFile::encodeName(folder + "fifo.ini").constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// Things that are not regular files, each made at a path by one maker.
struct NonRegularFile {
  const char* kind;
  std::function<bool(const QString& path)> make;
};

std::vector<NonRegularFile> NonRegularFiles() {
  return {
      {"FIFO", [](const QString& path) { return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0; }},
      {"folder", [](const QString& path) { return QDir().mkpath(path); }},
      {"endless device", [](const QString& path) { return QFile::link("/dev/zero", path); }},
      {"socket",
       [](const QString& path) {
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         const QByteArray name = QFile::encodeName(path);
         if (fd < 0 || name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
         std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
         const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
         ::close(fd);
         return bound;
       }},
  };
}

TEST(SafeRead, ANonRegularFileReadsAsMissingEverywhereWithoutBlocking) {
  testing_support::ScopedRecordingDialogs dialogs;
  for (const NonRegularFile& file : NonRegularFiles()) {
    SCOPED_TRACE(file.kind);
    const TempFolders folders;
    const QString ini = folders.libraryFolder() + "Words.ini";
    const QString library = folders.libraryFolder() + "Words.abc";
    QDir().mkpath(folders.libraryFolder());
    ASSERT_TRUE(file.make(ini) && file.make(library));

    QByteArray bytes;
    EXPECT_EQ(platform::ReadRegularFile(ini, bytes), platform::ReadStatus::Missing);
    EXPECT_EQ(platform::ReadProfileString(ini, "Normal", "WordFont", "Error"), "Error");
    EXPECT_TRUE(platform::ReadPictureFile(ini).isNull());
    EXPECT_EQ(platform::WriteProfileString(ini, "Normal", "WordFont", "Arial;0:12"), 0) << "never replaced";

    g_LibraryPath = library;
    dialogs->messages.clear();
    EXPECT_FALSE(LoadWordLibrary()) << "refused without being opened";
    EXPECT_EQ(g_LineCountCopy, 0);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.contains(library));
    EXPECT_EQ(ReadLibraryHeader(library), "");
    EXPECT_FALSE(LibraryHasHashAfterHeader(library));
  }
}

}  // namespace
