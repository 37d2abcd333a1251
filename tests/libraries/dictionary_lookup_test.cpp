// The pop-up's look-up over dictionary folders and libraries: which file answers, and what shows
// when none does; and a selection taken whole before its first word.
#include "libraries/dictionary_lookup.h"

#include "tests/support/library_files.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>

#include <map>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

// A dictionary file (UTF-16, as dictionaries are written) holding section ALL with the entries.
QByteArray Dictionary(const QStringList& entries) { return LibraryBytes(QStringList{"[ALL]"} + entries); }

TEST(DictionaryLookup, TakesTheFirstNumberedFileThatHoldsTheWordElseTheLibrary) {
  const QString longMeaning = QString("n. 很长的词义；").repeated(40);  // 320 characters
  struct Case {
    const char* what;
    std::map<QString, QByteArray> files;  // path below the library folder -> bytes
    QString word;
    QString meaning;
  };
  const std::vector<Case> cases = {
      {"first file", {{"Words.dic/Words_1.dic", Dictionary({"apple=n. 苹果"})}}, "apple", "n. 苹果"},
      {"key without regard to case", {{"Words.dic/Words_1.dic", Dictionary({"Apple=n. 苹果"})}}, "APPLE", "n. 苹果"},
      {"the first file wins",
       {{"Words.dic/Words_1.dic", Dictionary({"apple=one"})}, {"Words.dic/Words_2.dic", Dictionary({"apple=two"})}},
       "apple", "one"},
      {"a later file",
       {{"Words.dic/Words_1.dic", Dictionary({"pear=n. 梨"})}, {"Words.dic/Words_2.dic", Dictionary({"apple=two"})}},
       "apple", "two"},
      {"files of other names count: file 3 is tried",
       {{"Words.dic/Words_1.dic", Dictionary({})}, {"Words.dic/Words_3.dic", Dictionary({"apple=three"})},
        {"Words.dic/readme.txt", "notes"}},
       "apple", "three"},
      {"only as many files as the folder holds are tried (folders do not count)",
       {{"Words.dic/Words_1.dic", Dictionary({})}, {"Words.dic/Words_3.dic", Dictionary({"apple=three"})},
        {"Words.dic/sub/", {}}},
       "apple", kMeaningNotFound},
      {"a dictionary folder hides the library",
       {{"Words.dic/Words_1.dic", Dictionary({"pear=n. 梨"})}, {"Words.abc", Dictionary({"apple=library"})}},
       "apple", kMeaningNotFound},
      {"an empty dictionary folder hides the library",
       {{"Words.dic/", {}}, {"Words.abc", Dictionary({"apple=library"})}}, "apple", kMeaningNotFound},
      {"no dictionary folder: the library", {{"Words.abc", Dictionary({"apple=library"})}}, "apple", "library"},
      {"a library without section ALL", {{"Words.abc", LibraryBytes(QStringList{"{AC}#", "apple@n. 苹果"})}},
       "apple", kMeaningNotFound},
      {"an empty meaning", {{"Words.dic/Words_1.dic", Dictionary({"apple="})}}, "apple", kMeaningNotFound},
      {"a long meaning comes whole", {{"Words.dic/Words_1.dic", Dictionary({"apple=" + longMeaning})}}, "apple",
       longMeaning},
      {"no files at all", {}, "apple", kMeaningNotFound},
  };
  for (const Case& c : cases) {
    TempFolders folders;
    for (const auto& [path, bytes] : c.files) {
      if (path.endsWith('/')) {
        QDir().mkpath(folders.libraryFolder() + path);
      } else {
        TempFolders::writeFile(folders.libraryFolder() + path, bytes);
      }
    }
    EXPECT_EQ(LookUpMeaning(folders.libraryFolder(), "Words", c.word), c.meaning) << c.what;
  }
}

TEST(DictionaryLookup, TakesTheSelectionWholeBeforeItsFirstWord) {
  TempFolders folders;
  TempFolders::writeFile(folders.libraryFolder() + "Words.dic/Words_1.dic",
                         Dictionary({"e.g.=for example", "U.S.=United States", "C++=a language", "e=letter e",
                                     "ice cream=n. 冰淇淋", "apple=n. 苹果"}));
  const struct {
    QString selection;
    QString word;
    QString meaning;
  } cases[] = {
      {"e.g.", "e.g.", "for example"},
      {" U.S. \n", "U.S.", "United States"},
      {"c++", "c++", "a language"},
      {"ice cream", "ice cream", "n. 冰淇淋"},
      {"e.g", "e", "letter e"},  // not a key whole: its first word
      {"(apple),", "apple", "n. 苹果"},
      {"apple pie", "apple", "n. 苹果"},
      {"apple " + QString("x").repeated(80), "apple", "n. 苹果"},  // too long to be a key
      {"pear", "pear", kMeaningNotFound},
      {"pears and apples", "pears", kMeaningNotFound},
      {"...", "...", kMeaningNotFound},
  };
  for (const auto& c : cases) {
    const SelectionMeaning found = LookUpSelection(folders.libraryFolder(), "Words", c.selection);
    EXPECT_EQ(found.word, c.word) << c.selection.toStdString();
    EXPECT_EQ(found.meaning, c.meaning) << c.selection.toStdString();
  }
}

}  // namespace
