#include "libraries/library_list.h"

#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

class LibraryListTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetProgramFolder(folders.programFolder()); }
  void TearDown() override { platform::SetProgramFolder({}); }

  QString library(const QString& fileName, const QString& header = "{AC}") const {
    return TempFolders::writeFile(folders.libraryFolder() + fileName, LibraryBytes(QStringList{header, "word@[w]meaning"}));
  }
  QString read(const QString& section, const QString& key) const {
    return platform::ReadProfileString(TopicListFile(), section, key, "Error");
  }

  TempFolders folders;
};

TEST_F(LibraryListTest, ScanKeepsFileOrderAndListsOnlyEntriesWhoseFileExists) {
  const QString lib = folders.libraryFolder();
  library("Words.abc");
  library("Verben.abc");
  library("Upper.ABC");
  library("Gone.abc");
  library("Fake.abc");
  library("NoHeader.abc", "no header");
  library(QString::fromUtf8("中文.abc"));
  TempFolders::writeFile(folders.programFolder() + "samples/Sample.abc", LibraryBytes(QStringList{"{AC}"}));
  // A list as a learner's Windows system left it: GBK text, CR LF and bare LF, a value holding
  // brackets, and a last section header without a line end.
  const QByteArray list = "[AC:Words]\r\n@=" + lib.toUtf8() + "\r\n" +
                          "[GC:Verben]\n@=" + lib.chopped(1).toUtf8() + "\n" +
                          "[AC:Upper]\n@=" + lib.toUtf8() + "\n" +
                          "[AC:Gone]\n@=XXX\n" +
                          "[AC:NoFolder]\n#=X\n" +
                          "[AC:Missing]\n@=" + lib.toUtf8() + "\n" +
                          "  [CC:\xD6\xD0\xCE\xC4]\n@=" + lib.toUtf8() + "\n" +
                          "[AC:Value]\nnote=[AC:Fake]\n@=" + lib.toUtf8() + "[AC:Fake]\n" +
                          "[:NoHeader]\n@=" + lib.toUtf8() + "\n" +
                          "[AC:Sample]\n@=samples/\n" +
                          "[AC:Last]";
  TempFolders::writeFile(TopicListFile(), list);

  const LibraryList scanned;
  const QStringList sections = {"AC:Words",   "GC:Verben", "AC:Upper", "AC:Gone",     "AC:NoFolder",
                                "AC:Missing", QString::fromUtf8("CC:中文"), "AC:Value", ":NoHeader", "AC:Sample",
                                "AC:Last"};
  EXPECT_EQ(scanned.sections(), sections);
  const QStringList expectedListed = {"AC:Words", "GC:Verben", "AC:Upper", QString::fromUtf8("CC:中文"), ":NoHeader",
                                      "AC:Sample"};
  QStringList listed;
  for (const QString& section : scanned.sections())
    if (scanned.libraryExists(section)) listed << section;
  EXPECT_EQ(listed, expectedListed);

  EXPECT_EQ(ReadLibraryFolder("GC:Verben"), lib);  // a missing trailing separator is added
  EXPECT_EQ(ReadLibraryFolder("AC:Sample"), folders.programFolder() + "samples/");
  EXPECT_EQ(ReadLibraryFolder("AC:Gone"), "");
  EXPECT_EQ(ReadLibraryFolder("AC:NoFolder"), "");
  EXPECT_EQ(FindLibraryFile(lib, "Upper"), lib + "Upper.ABC");
  EXPECT_TRUE(ReadDictionaryFlag("AC:NoFolder"));
  EXPECT_FALSE(ReadDictionaryFlag("AC:Words"));
}

TEST_F(LibraryListTest, MissingListHasNoEntries) { EXPECT_TRUE(LibraryList().sections().isEmpty()); }

TEST_F(LibraryListTest, AddMarksDictionariesDeleteMarksXxxAndReAddBringsTheEntryBack) {
  const QByteArray other = "; kept as it is\r\n[GC:Other]\r\n@ = /elsewhere/ \r\n\r\n";
  TempFolders::writeFile(TopicListFile(), other);
  const QString dictionary = library("Words.abc", "{AC}#");

  std::optional<AddedLibrary> added = AddLibraryEntry(dictionary);
  ASSERT_TRUE(added);
  EXPECT_EQ(added->section, "AC:Words");
  EXPECT_EQ(added->folder, folders.libraryFolder());
  EXPECT_TRUE(added->dictionary);
  EXPECT_EQ(read("AC:Words", "@"), folders.libraryFolder());
  EXPECT_EQ(read("AC:Words", "#"), "X");
  EXPECT_TRUE(TempFolders::readFile(TopicListFile()).startsWith(other));

  ASSERT_TRUE(MarkLibraryDeleted("AC:Words"));
  EXPECT_EQ(read("AC:Words", "@"), "XXX");
  EXPECT_FALSE(LibraryList().libraryExists("AC:Words"));

  // The same library, no longer a dictionary: its entry comes back and the stale mark goes.
  library("Words.abc", "{AC}");
  added = AddLibraryEntry(dictionary);
  ASSERT_TRUE(added);
  EXPECT_FALSE(added->dictionary);
  EXPECT_TRUE(LibraryList().libraryExists("AC:Words"));
  EXPECT_FALSE(ReadDictionaryFlag("AC:Words"));
  EXPECT_TRUE(TempFolders::readFile(TopicListFile()).startsWith(other));
  EXPECT_EQ(LibraryList().sections(), (QStringList{"GC:Other", "AC:Words"}));

  // Any letter case of the ending; a file without a header is listed under ":" + name.
  EXPECT_EQ(AddLibraryEntry(library("LOUD.ABC"))->section, "AC:LOUD");
  EXPECT_EQ(AddLibraryEntry(library("Plain.abc", "plain text"))->section, ":Plain");
  EXPECT_TRUE(LibraryList().libraryExists("AC:LOUD"));
  EXPECT_TRUE(LibraryList().libraryExists(":Plain"));
  EXPECT_FALSE(AddLibraryEntry(TempFolders::writeFile(folders.libraryFolder() + "notes.txt", "x")));

  ASSERT_TRUE(RegisterDownloadedLibrary(folders.libraryFolder(), "GC", "Verben"));
  EXPECT_EQ(read("GC:Verben", "@"), folders.libraryFolder());
  EXPECT_EQ(read("GC:Verben", "#"), "Error");
}

TEST_F(LibraryListTest, WritesThatFailLeaveTheListWholeAndSaySo) {
  TempFolders::writeFile(TopicListFile(), "[AC:Words]\n@=/old/\n");
  const QString path = library("Words.abc");
  const QByteArray before = TempFolders::readFile(TopicListFile());
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders.programFolder());
    EXPECT_FALSE(AddLibraryEntry(path));
    EXPECT_FALSE(MarkLibraryDeleted("AC:Words"));
  }
  EXPECT_EQ(TempFolders::readFile(TopicListFile()), before);
  // A name the list cannot hold as a section ("]" would end it) is refused, not garbled.
  EXPECT_FALSE(AddLibraryEntry(library("Odd]Name.abc")));
  EXPECT_EQ(TempFolders::readFile(TopicListFile()), before);
}

}  // namespace
