// Which files a catalogue item owns, whether a file reads as a library, and where a typed
// download folder lies.

#include "libraries/catalogue_item_files.h"
#include "libraries/web_catalogue.h"
#include "tests/support/library_files.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

TEST(CatalogueItemFiles, AnArchiveOwnsOnlyTheEntriesNamedAfterItsLibrary) {
  const std::pair<const char*, bool> cases[] = {
      {"Lib.abc", true}, {"Lib.ini", true},   {"Lib.JPG", true},  {"Lib.dic", true},
      {"Lib", false},    {"Lib.", false},     {"Lib2.abc", false}, {"Other.abc", false},
      {"lib.abc", false}, {".Lib.abc", false},
  };
  for (const auto& [name, own] : cases) EXPECT_EQ(IsOwnEntryName(name, "Lib"), own) << name;
  EXPECT_FALSE(IsOwnEntryName(".abc", ""));
  EXPECT_EQ(ArchiveLibraryName("Lib.part1.zip"), "Lib");
  EXPECT_EQ(PartName("Lib.part1.zip", 3), "Lib.part3.zip");
}

TEST(CatalogueItemFiles, OnlyAByteOrderMarkAndAHeaderLineMakeALibrary) {
  TempFolders folders;
  const std::pair<QByteArray, bool> cases[] = {
      {LibraryBytes(QStringList{"{AC}", "word@n. 词"}), true},
      {LibraryBytes(QStringList{"{AC}#"}), true},
      {LibraryBytes(QStringLiteral("{AC}")), true},
      {LibraryBytes(QStringList{"word@n. 词", "{AC}"}), false},  // the header must be the first line
      // Read as the loader reads it: empty lines carry no entry, line feeds are dropped.
      {LibraryBytes(QStringList{"", "{AC}", "word@n. 词"}), true},
      {LibraryBytes(QStringLiteral("\r\n\r\n\n{A\nC}\r\n")), true},
      {LibraryBytes(QStringList{"", "", "word@n. 词"}), false},
      {LibraryBytes(QStringList{"{AC", "}"}), false},
      {LibraryBytes(QStringLiteral("<html>")), false},
      {QByteArray("{\0A\0C\0}\0", 8), false},  // no byte-order mark
      {"hello", false},
      {QByteArray(), false},
  };
  for (const auto& [bytes, library] : cases) {
    const QString path = TempFolders::writeFile(folders.libraryFolder() + "Probe.abc", bytes);
    EXPECT_EQ(ReadsAsWordLibrary(path), library) << bytes.toHex().toStdString();
  }
  EXPECT_FALSE(ReadsAsWordLibrary(folders.libraryFolder()));
}

TEST(CatalogueItemFiles, ADownloadFolderIsMadeAbsoluteFromTheHomeFolder) {
  const QString home = QDir::homePath();
  const std::pair<QString, QString> cases[] = {
      {"/data/Libraries", "/data/Libraries/"},
      {"/data/Libraries/", "/data/Libraries/"},
      {"rel/Libs", home + "/rel/Libs/"},
      {"  rel\\Libs\\ ", home + "/rel/Libs/"},
      {"", ""},
      {"   ", ""},
  };
  for (const auto& [typed, folder] : cases) EXPECT_EQ(ResolveDownloadFolder(typed), folder) << typed.toStdString();
}

}  // namespace
