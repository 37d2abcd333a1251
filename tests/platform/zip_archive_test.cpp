#include "platform/archive/zip_archive.h"

#include "tests/support/temp_folders.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

using platform::UnpackResult;
using platform::UnpackZip;
using testing_support::BuildZip;
using testing_support::TempFolders;
using testing_support::ZipEntry;
using testing_support::ZipNames;

// Every path under the folder, relative to it.
QStringList Tree(const QString& folder) {
  QStringList paths;
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) paths << QDir(folder).relativeFilePath(it.next());
  paths.sort();
  return paths;
}

TEST(UnpackZip, WritesFilesAndFoldersAndReadsGbkNames) {
  TempFolders folders;
  const QString target = folders.libraryFolder();
  const QString name = QStringLiteral("词库.abc");
  const QByteArray zip = BuildZip({{QStringLiteral("Pics/"), {}, ZipEntry::Folder},
                                   {QStringLiteral("Pics/00.Cover.jpg"), "jpeg"},
                                   {name, "library"}},
                                  ZipNames::Gbk);
  ASSERT_TRUE(zip.contains("\xB4\xCA\xBF\xE2.abc"));  // the name is stored in GBK, as on that system
  const QString archive = TempFolders::writeFile(folders.programFolder() + "Lib.zip", zip);

  ASSERT_EQ(UnpackZip(archive, target), UnpackResult::Unpacked);
  EXPECT_EQ(Tree(target), (QStringList{"Pics", "Pics/00.Cover.jpg", name}));
  EXPECT_EQ(TempFolders::readFile(target + name), "library");
  EXPECT_EQ(QDir::currentPath(), QDir(QDir::currentPath()).absolutePath());  // the current folder is back
}

TEST(UnpackZip, RefusesArchivesWhoseEntriesLeaveTheFolder) {
  TempFolders folders;
  const QString outside = folders.programFolder() + "outside/";
  QDir().mkpath(outside);
  const QString currentBefore = QDir::currentPath();
  const QString cases[] = {
      QStringLiteral("../escaped.abc"),
      QStringLiteral("Pics/../../escaped.abc"),
      outside + QStringLiteral("escaped.abc"),
      QStringLiteral("C:/escaped.abc"),
      QStringLiteral("..\\escaped.abc"),
  };
  for (const QString& bad : cases) {
    SCOPED_TRACE(bad.toStdString());
    const QString target = folders.libraryFolder() + "t/";
    QDir(target).removeRecursively();
    QDir().mkpath(target + "inner");
    const QString archive = TempFolders::writeFile(
        folders.programFolder() + "bad.zip", BuildZip({{QStringLiteral("good.abc"), "good"}, {bad, "evil"}}));
    // Unpacked from inside a subfolder, so a "../" that got through would land in the target.
    EXPECT_EQ(UnpackZip(archive, target + "inner"), UnpackResult::UnsafeEntry);
    EXPECT_EQ(Tree(target), QStringList{"inner"});
    EXPECT_TRUE(Tree(outside).isEmpty());
    EXPECT_EQ(QDir::currentPath(), currentBefore);
  }
}

TEST(UnpackZip, SkipsLinksAndRejectsWhatIsNoZip) {
  TempFolders folders;
  const QString target = folders.libraryFolder();
  const QString archive = TempFolders::writeFile(
      folders.programFolder() + "links.zip",
      BuildZip({{QStringLiteral("link.abc"), "/etc/passwd", ZipEntry::Symlink}, {QStringLiteral("Lib.abc"), "lib"}}));
  EXPECT_EQ(UnpackZip(archive, target), UnpackResult::Unpacked);
  EXPECT_EQ(Tree(target), QStringList{"Lib.abc"});

  const QString notZip = TempFolders::writeFile(folders.programFolder() + "page.zip", "<html>not found</html>");
  EXPECT_EQ(UnpackZip(notZip, target), UnpackResult::CannotOpen);
  EXPECT_EQ(UnpackZip(folders.programFolder() + "none.zip", target), UnpackResult::CannotOpen);
}

TEST(UnpackZip, EachLimitAndClashRefusesTheArchiveWithItsOwnCause) {
  TempFolders folders;
  const QByteArray zeros(1 << 20, '\0');  // packs to about a thousandth of its size
  struct Case {
    const char* what;
    std::vector<ZipEntry> entries;
    platform::UnpackLimits limits;
    UnpackResult result;
  };
  const Case cases[] = {
      {"within the limits", {{"a.abc", "1234"}, {"b/", {}, ZipEntry::Folder}}, {}, UnpackResult::Unpacked},
      {"too many entries", {{"a.abc", "1"}, {"b.abc", "2"}, {"c.abc", "3"}}, {1 << 20, 2, 100}, UnpackResult::TooManyEntries},
      {"too many bytes", {{"a.abc", QByteArray(64, 'x')}}, {32, 10, 100}, UnpackResult::TooLarge},
      {"too high a ratio", {{"a.abc", zeros}}, {}, UnpackResult::RatioTooHigh},
      {"a file twice", {{"a.abc", "1"}, {"a.abc", "2"}}, {}, UnpackResult::DuplicateEntry},
      {"a file where a folder is", {{"a/", {}, ZipEntry::Folder}, {"a", "file"}}, {}, UnpackResult::DuplicateEntry},
      {"a folder through a file", {{"a", "file"}, {"a/b.abc", "x"}}, {}, UnpackResult::DuplicateEntry},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const QString target = folders.libraryFolder() + test.what + "/";
    QDir().mkpath(target);
    const QString archive = TempFolders::writeFile(folders.programFolder() + "case.zip", BuildZip(test.entries));
    EXPECT_EQ(platform::UnpackZipArchive(archive, target, test.limits).result, test.result);
  }
}

TEST(UnpackZip, ReportsProgressStopsWhenAskedAndNeverReplacesWhatIsThere) {
  TempFolders folders;
  QByteArray text;
  for (qint64 i = 0; text.size() < (3 << 20); ++i) text += QByteArray::number(i * 7919) + ' ';
  const QString archive = TempFolders::writeFile(folders.programFolder() + "big.zip", BuildZip({{"Big.abc", text}}));
  int reports = 0;
  const auto counting = [&](std::int64_t written, std::int64_t total) {
    EXPECT_LE(written, total);
    ++reports;
    return true;
  };
  ASSERT_TRUE(platform::UnpackZipArchive(archive, folders.libraryFolder(), {}, counting).ok());
  EXPECT_GE(reports, 3);
  EXPECT_EQ(TempFolders::readFile(folders.libraryFolder() + "Big.abc"), text);
  // The file is there now: a second unpacking must not write over it.
  EXPECT_EQ(UnpackZip(archive, folders.libraryFolder()), UnpackResult::DuplicateEntry);

  const QString fresh = folders.libraryFolder() + "fresh/";
  QDir().mkpath(fresh);
  EXPECT_EQ(platform::UnpackZipArchive(archive, fresh, {}, [](std::int64_t, std::int64_t) { return false; }).result,
            UnpackResult::Cancelled);
}

}  // namespace
