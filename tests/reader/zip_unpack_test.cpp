#include "reader/zip_unpack.h"

#include "tests/support/raw_zip.h"
#include "tests/support/temp_folders.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

using platform::UnpackResult;
using reader::UnpackZipArchive;
using testing_support::BuildRawZip;
using testing_support::BuildZip;
using testing_support::ManyEmptyEntries;
using testing_support::RawEnd;
using testing_support::RawEntry;
using testing_support::RawZipEnd;
using testing_support::RawZipEntry;
using testing_support::TempFolders;
using testing_support::ZipEntry;
using testing_support::ZipNames;

UnpackResult UnpackZip(const QString& archivePath, const QString& folder) {
  return UnpackZipArchive(archivePath, folder).result;
}

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
    EXPECT_EQ(UnpackZipArchive(archive, target, test.limits).result, test.result);
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
  ASSERT_TRUE(UnpackZipArchive(archive, folders.libraryFolder(), {}, counting).ok());
  EXPECT_GE(reports, 3);
  EXPECT_EQ(TempFolders::readFile(folders.libraryFolder() + "Big.abc"), text);
  // The file is there now: a second unpacking must not write over it.
  EXPECT_EQ(UnpackZip(archive, folders.libraryFolder()), UnpackResult::DuplicateEntry);

  const QString fresh = folders.libraryFolder() + "fresh/";
  QDir().mkpath(fresh);
  EXPECT_EQ(UnpackZipArchive(archive, fresh, {}, [](std::int64_t, std::int64_t) { return false; }).result,
            UnpackResult::Cancelled);
}

TEST(UnpackZip, EntriesAreCountedAsTheArchiveLibraryDeliversThemWhateverTheEndRecordSays) {
  TempFolders folders;
  const platform::UnpackLimits limits{1 << 20, 1000, 100};
  const std::vector<RawZipEntry> many = ManyEmptyEntries(3000, "e/");
  const std::vector<RawZipEntry> few = ManyEmptyEntries(40, "e/");
  const QByteArray stray(20000, 'x');  // more than a reader looks through for the record
  struct Case {
    const char* what;
    const std::vector<RawZipEntry>& entries;
    RawZipEnd end;
    UnpackResult result;
  };
  const Case cases[] = {
      {"a record that counts them all", many, RawEnd({}, {}, false), UnpackResult::TooManyEntries},
      {"a zip64 record that counts them all", many, RawEnd({}, {}, true), UnpackResult::TooManyEntries},
      {"stray bytes after the record", many, RawEnd({}, {}, false, {}, stray), UnpackResult::TooManyEntries},
      {"junk before the directory", many, RawEnd({}, {}, false, {}, {}, "junk"), UnpackResult::TooManyEntries},
      {"a record that lowers the count", many, RawEnd(5, {}, false), UnpackResult::TooManyEntries},
      {"a record that declares no entries", many, RawEnd(0, {}, false), UnpackResult::TooManyEntries},
      {"a zip64 record that lowers count and size", many, RawEnd(5, 300, true), UnpackResult::TooManyEntries},
      {"within the limit, zip64", few, RawEnd({}, {}, true), UnpackResult::Unpacked},
      {"within the limit, comment and stray bytes", few, RawEnd({}, {}, false, "made here", stray), UnpackResult::Unpacked},
      {"within the limit, junk in front", few, RawEnd({}, {}, false, {}, {}, "junk"), UnpackResult::Unpacked},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const QString target = folders.libraryFolder() + test.what + "/";
    QDir().mkpath(target);
    const QString archive = TempFolders::writeFile(folders.programFolder() + "many.zip", BuildRawZip(test.entries, test.end));
    const platform::UnpackOutcome outcome = UnpackZipArchive(archive, target, limits);
    EXPECT_EQ(outcome.result, test.result) << outcome.reason.toStdString();
    // Counted in the first pass, before anything is written.
    EXPECT_EQ(QDir(target + "e").entryList(QDir::Files).size(), outcome.ok() ? 40 : 0);
  }
}

TEST(UnpackZip, EntriesTheArchiveLibraryFlagsRefuseTheArchiveAsDamagedInItsWords) {
  TempFolders folders;
  const QByteArray library = "\xFF\xFE{\0A\0C\0}\0";
  const QByteArray lzmaHeader("\x09\x14\x05\x00\x5D\x00\x00\x10\x00", 9);  // version, properties
  const QByteArray hugeDictionary("\x09\x14\x05\x00\x5D\xFF\xFF\xFF\xFF", 9);
  const QByteArray noise = QByteArray::fromHex("00112233445566778899aabbccddeeff").repeated(8);
  struct Case {
    const char* what;
    RawZipEntry entry;
    UnpackResult result;
    const char* reason;  // a part of the archive library's words
  };
  const Case cases[] = {
      {"sizes that disagree", RawEntry("Lib.abc", library, 0, {}, 13), UnpackResult::Damaged, "Inconsistent"},
      {"a size that is wrong", RawEntry("Lib.abc", library, 0, 40), UnpackResult::Damaged, "wrong size"},
      {"LZMA data that does not decode", RawEntry("Lib.abc", lzmaHeader + noise, 14, 400), UnpackResult::Damaged, "lzma"},
      {"LZMA asking for a 4 GB dictionary", RawEntry("Lib.abc", hugeDictionary + noise, 14, 400), UnpackResult::Damaged,
       "lzma"},
      {"PPMd with impossible parameters", RawEntry("Lib.abc", "\x07\x30" + noise, 98, 400), UnpackResult::Damaged, "PPMd"},
      {"PPMd data that does not decode", RawEntry("Lib.abc", QByteArray("\xF5\x00", 2) + noise, 98, 400), UnpackResult::Damaged, "ZIP"},
      {"a method nobody knows", RawEntry("Lib.abc", noise, 77, 100), UnpackResult::Damaged, "Unsupported"},
      {"a name that is no GBK", RawEntry("\x81\x20.abc", library, 0, {}, {}, false), UnpackResult::BadName, ""},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const QString target = folders.libraryFolder() + test.what + "/";
    QDir().mkpath(target);
    const QString archive = TempFolders::writeFile(folders.programFolder() + "damaged.zip", BuildRawZip({test.entry}));
    const platform::UnpackOutcome outcome = UnpackZipArchive(archive, target);
    EXPECT_EQ(outcome.result, test.result);
    EXPECT_TRUE(outcome.reason.contains(QLatin1String(test.reason))) << outcome.reason.toStdString();
    EXPECT_FALSE(outcome.reason.endsWith('\n'));
  }
}

TEST(UnpackZip, OnlyWantedEntriesAreWrittenSoOnlyTheyCanClash) {
  TempFolders folders;
  const QString target = folders.libraryFolder();
  const auto own = [](const QString& firstStep) { return firstStep.startsWith("Lib."); };
  const QString first = TempFolders::writeFile(
      folders.programFolder() + "part1.zip",
      BuildZip({{"Lib.abc", "library"}, {"readme.txt", "1"}, {"readme.txt", "2"}, {"Lib.JPG/a.jpg", "a"}}));
  ASSERT_EQ(UnpackZipArchive(first, target, {}, {}, own).result, UnpackResult::Unpacked);
  EXPECT_EQ(Tree(target), (QStringList{"Lib.JPG", "Lib.JPG/a.jpg", "Lib.abc"}));

  const QString second = TempFolders::writeFile(folders.programFolder() + "part2.zip",
                                                BuildZip({{"readme.txt", "3"}, {"Lib.JPG/a.jpg", "again"}}));
  const platform::UnpackOutcome clash = UnpackZipArchive(second, target, {}, {}, own);
  EXPECT_EQ(clash.result, UnpackResult::DuplicateEntry);
  EXPECT_EQ(clash.reason, "Lib.JPG/a.jpg");
  EXPECT_EQ(TempFolders::readFile(target + "Lib.JPG/a.jpg"), "a");

  // An entry passed over still has to stay inside the folder.
  const QString unsafe =
      TempFolders::writeFile(folders.programFolder() + "part3.zip", BuildZip({{"Lib.dic", "d"}, {"../readme.txt", "x"}}));
  const platform::UnpackOutcome escaped = UnpackZipArchive(unsafe, target, {}, {}, own);
  EXPECT_EQ(escaped.result, UnpackResult::UnsafeEntry);
  EXPECT_EQ(escaped.reason, "../readme.txt");
}

}  // namespace
