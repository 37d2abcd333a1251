#include "core/system_utils_bas.h"

#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

using testing_support::TempFolders;

namespace {

struct PathCase {
  const char* path;
  const char* folder;
  const char* fileName;
};

TEST(PathSplit, SplitsAtTheLastSeparatorOfEitherKind) {
  const PathCase cases[] = {
      {"/home/lea/Words/Verbs.abc", "/home/lea/Words/", "Verbs.abc"},
      {"C:\\Lib\\Words.abc", "C:\\Lib\\", "Words.abc"},
      {"\\\\server\\share\\Words.abc", "\\\\server\\share\\", "Words.abc"},
      {"/mixed\\from windows/Words.abc", "/mixed\\from windows/", "Words.abc"},
      {"/home/lea/Words/", "/home/lea/Words/", ""},
      {"  /home/lea/My Words.abc  ", "/home/lea/", "My Words.abc"},
      {"/home/lea / Words.abc", "/home/lea /", "Words.abc"},
      {"Words.abc", "", "Words.abc"},
      {"", "", ""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(GetFolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(GetFileNamePart(c.path), c.fileName) << c.path;
  }
}

TEST(ReadIniUnicode, ReadsUpTo127CharactersWithoutNuls) {
  TempFolders folders;
  QString text = QString::fromUtf8("[Dict]\r\nShort=词汇表\r\nLong=") + QString(200, 'y') + "\r\nNul=a";
  text += QChar(u'\0');
  text += "b\r\n";
  QByteArray bytes("\xFF\xFE");
  for (const QChar c : text) bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  const QString file = TempFolders::writeFile(folders.libraryFolder() + "dict.ini", bytes);

  EXPECT_EQ(ReadIniUnicode(file, "Dict", "Short"), QString::fromUtf8("词汇表"));
  EXPECT_EQ(ReadIniUnicode(file, "Dict", "Long"), QString(127, 'y'));
  EXPECT_EQ(ReadIniUnicode(file, "Dict", "Nul"), "ab");
  EXPECT_EQ(ReadIniUnicode(file, "Dict", "Missing"), "Error");
  EXPECT_EQ(ReadIniUnicode(folders.libraryFolder() + "none.ini", "Dict", "Short"), "Error");
}

TEST(WindowsVersion, IsTheVersionForWhichTranslucencyFollowsTheSetting) {
  EXPECT_DOUBLE_EQ(GetWindowsVersion(), 6.01);
}

}  // namespace
