#include "platform/ini/ini.h"

#include "tests/support/read_only_folder.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using platform::ReadProfileString;
using platform::ReadProfileStringUnicode;
using platform::WriteProfileString;
using testing_support::TempFolders;

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  QString file() const { return folders_.libraryFolder() + "test.ini"; }
  QString write(const QByteArray& bytes) const { return TempFolders::writeFile(file(), bytes); }
  QByteArray contents() const { return TempFolders::readFile(file()); }
  QString read(const QString& section, const QString& key) const {
    return ReadProfileString(file(), section, key, "Error");
  }

  TempFolders folders_;
};

QByteArray Utf16LeWithBom(const QString& text) {
  QByteArray bytes("\xFF\xFE");
  for (const QChar c : text) bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  return bytes;
}

TEST_F(IniFileTest, MatchesSectionAndKeyWithoutRegardToCaseAndTrimsBlanks) {
  write("; settings\n[ Normal ]\n  WordSpeed =  5 \nWordFont\t=\tArial;0:12\t\n[Other]\nWordSpeed=9\n");
  EXPECT_EQ(read("normal", "wordspeed"), "5");
  EXPECT_EQ(read("NORMAL", "WORDFONT"), "Arial;0:12");
  EXPECT_EQ(read("Other", "WordSpeed"), "9");
}

TEST_F(IniFileTest, StripsOnePairOfDoubleQuotes) {
  write("[Normal]\nA=\"quoted value\"\nB=\"\"twice\"\"\nC=\"open\nD=\"\nE=\" padded \"\n");
  EXPECT_EQ(read("Normal", "A"), "quoted value");
  EXPECT_EQ(read("Normal", "B"), "\"twice\"");
  EXPECT_EQ(read("Normal", "C"), "\"open");
  EXPECT_EQ(read("Normal", "D"), "\"");
  EXPECT_EQ(read("Normal", "E"), " padded ");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(read("Normal", "WordSpeed"), "Error");
  write("WordSpeed=1\n[Normal]\nWordSpeak=2\n; WordSpeed=3\nWordSpeed\n[Global]\nWordSpeed=4\n");
  EXPECT_EQ(read("Normal", "WordSpeed"), "Error") << "keys before any section, comments and lines without = "
                                                     "are not keys of the section";
  EXPECT_EQ(read("Missing", "WordSpeak"), "Error");
  EXPECT_EQ(ReadProfileString(file(), "Normal", "Nope", "fallback"), "fallback");
}

TEST_F(IniFileTest, EmptyValueIsFoundAndNotTheDefault) {
  write("[Normal]\nWordShowHour=\n");
  EXPECT_EQ(read("Normal", "WordShowHour"), "");
}

TEST_F(IniFileTest, FirstOfDuplicateSectionsAndKeysWins) {
  write("[Normal]\nA=1\nA=2\n[Normal]\nA=3\nB=4\n");
  EXPECT_EQ(read("Normal", "A"), "1");
  EXPECT_EQ(read("Normal", "B"), "4");
  ASSERT_NE(WriteProfileString(file(), "Normal", "B", "5"), 0);
  EXPECT_EQ(contents(), "[Normal]\nA=1\nA=2\n[Normal]\nA=3\nB=5\n");
}

TEST_F(IniFileTest, CutsLongValuesToTheBufferAtACharacterBoundary) {
  const QString ascii(300, 'a');
  QString chinese;
  for (int i = 0; i < 100; ++i) chinese += QString::fromUtf8("中");  // three bytes each
  write("[Normal]\nA=" + ascii.toUtf8() + "\nC=" + chinese.toUtf8() + "\n");

  EXPECT_EQ(read("Normal", "A"), ascii.left(254));
  EXPECT_EQ(read("Normal", "C"), chinese.left(84)) << "254 bytes hold 84 whole characters";
  EXPECT_EQ(ReadProfileString(file(), "Normal", "C", "Error", 8), chinese.left(2));
  EXPECT_EQ(ReadProfileString(file(), "Normal", "Missing", "Error", 4), "Err");
  EXPECT_EQ(ReadProfileString(file(), "Normal", "A", "Error", 0), "");
}

TEST_F(IniFileTest, AGbkFileIsCutByItsOwnBytes) {
  QString chinese;
  for (int i = 0; i < 200; ++i) chinese += QString::fromUtf8("中");
  // The same value stored as GBK, two bytes a character: 254 bytes hold 127 of them.
  write("[AC]\nDESC_C01=" + QByteArray("\xD6\xD0").repeated(200) + "\nA=x" + QByteArray("\xD6\xD0").repeated(3) + "\n");
  EXPECT_EQ(read("AC", "DESC_C01"), chinese.left(127));
  EXPECT_EQ(ReadProfileString(file(), "AC", "A", "Error", 5), "x" + chinese.left(1));
  EXPECT_EQ(platform::ProfileSnapshot(file()).read("AC", "DESC_C01", "Error"), chinese.left(127));
}

TEST_F(IniFileTest, ReadsANonUtf8FileAsGbkAndWritesItBackAsUtf8) {
  write("[Normal]\r\nTitle=\xD6\xD0\xCE\xC4\r\n; \xB4\xCA\xBB\xE3\r\n");
  EXPECT_EQ(read("Normal", "Title"), QString::fromUtf8("中文"));

  ASSERT_NE(WriteProfileString(file(), "Normal", "WordSpeed", "3"), 0);
  EXPECT_EQ(contents(), QString::fromUtf8("[Normal]\r\nTitle=中文\r\n; 词汇\r\nWordSpeed=3\r\n").toUtf8());
}

TEST_F(IniFileTest, UnicodeReaderReadsUtf16FilesAndFallsBackToTheAnsiRule) {
  const QString value = QString::fromUtf8("词汇 ") + QString(200, 'x');
  write(Utf16LeWithBom("[Dict]\r\nPath=" + value + "\r\n"));
  EXPECT_EQ(ReadProfileStringUnicode(file(), "dict", "path", "Error", 128), value.left(127));
  EXPECT_EQ(ReadProfileString(file(), "Dict", "Path", "Error"), value) << "the ANSI reader reads it too";

  write(QString::fromUtf8("[Dict]\nPath=词汇\n").toUtf8());
  EXPECT_EQ(ReadProfileStringUnicode(file(), "Dict", "Path", "Error", 128), QString::fromUtf8("词汇"));
  EXPECT_EQ(ReadProfileStringUnicode(file(), "Dict", "None", "Error", 128), "Error");
}

TEST_F(IniFileTest, UnicodeReaderNeverSplitsASurrogatePair) {
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // one character, two UTF-16 units
  write(Utf16LeWithBom("[S]\nK=ab" + emoji + "\n"));
  EXPECT_EQ(ReadProfileStringUnicode(file(), "S", "K", "Error", 4), "ab");
  EXPECT_EQ(ReadProfileStringUnicode(file(), "S", "K", "Error", 5), "ab" + emoji);
}

TEST_F(IniFileTest, WriteCreatesTheFileAndTheSection) {
  ASSERT_NE(WriteProfileString(file(), "Normal", "WordSpeed", "5"), 0);
  EXPECT_EQ(contents(), "[Normal]\nWordSpeed=5\n");
  ASSERT_NE(WriteProfileString(file(), "Statistics", "20240101", "3"), 0);
  EXPECT_EQ(contents(), "[Normal]\nWordSpeed=5\n[Statistics]\n20240101=3\n");
  EXPECT_EQ(read("statistics", "20240101"), "3");
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLineByteForByte) {
  const QByteArray before =
      "\xEF\xBB\xBF; comment line\r\n"
      "odd line without equals\r\n"
      "[Normal]\r\n"
      "  WordSpeed = 5  \r\n"
      "WordFont=Arial;0:12\r\n"
      "\r\n"
      "[Global]\r\n"
      "WordSpeed=9\r\n";
  write(before);

  ASSERT_NE(WriteProfileString(file(), "NORMAL", "wordspeed", "7"), 0);
  QByteArray expected = before;
  expected.replace("  WordSpeed = 5  \r\n", "  WordSpeed = 7\r\n");
  EXPECT_EQ(contents(), expected);

  ASSERT_NE(WriteProfileString(file(), "Normal", "WordWait", "X"), 0);
  expected.replace("WordFont=Arial;0:12\r\n", "WordFont=Arial;0:12\r\nWordWait=X\r\n");
  EXPECT_EQ(contents(), expected) << "a new key goes after the section's last line, before the blank line";
  EXPECT_EQ(read("Normal", "WordWait"), "X");
  EXPECT_EQ(read("Global", "WordSpeed"), "9");
}

TEST_F(IniFileTest, WriteHandlesAFileWithoutFinalLineEnd) {
  write("[Normal]\nA=1");
  ASSERT_NE(WriteProfileString(file(), "Normal", "A", "2"), 0);
  EXPECT_EQ(contents(), "[Normal]\nA=2");
  ASSERT_NE(WriteProfileString(file(), "Normal", "B", "3"), 0);
  EXPECT_EQ(contents(), "[Normal]\nA=2\nB=3\n");

  write("[Normal]\r\nA=1");
  ASSERT_NE(WriteProfileString(file(), "Global", "B", "3"), 0);
  EXPECT_EQ(contents(), "[Normal]\r\nA=1\r\n[Global]\r\nB=3\r\n");
}

TEST_F(IniFileTest, WriteStopsAtNulAndRefusesTextThatWouldBreakTheFile) {
  write("[Normal]\nA=1\n");
  EXPECT_EQ(WriteProfileString(file(), "Normal", "A", "x\ny=2"), 0);
  EXPECT_EQ(WriteProfileString(file(), "Normal", "A=B", "1"), 0);
  EXPECT_EQ(WriteProfileString(file(), "No]rmal", "A", "1"), 0);
  EXPECT_EQ(WriteProfileString(file(), "", "A", "1"), 0);
  EXPECT_EQ(WriteProfileString(file(), "Normal", " ", "1"), 0);
  EXPECT_EQ(contents(), "[Normal]\nA=1\n");

  ASSERT_NE(WriteProfileString(file(), "Normal", "A", QString("Arial;0:12") + QChar(u'\0') + "junk"), 0);
  EXPECT_EQ(read("Normal", "A"), "Arial;0:12");
}

TEST_F(IniFileTest, WriteToAUtf16FileKeepsItUtf16) {
  write(Utf16LeWithBom(QString::fromUtf8("[Dict]\r\nWord=词\r\n")));
  ASSERT_NE(WriteProfileString(file(), "Dict", "Word", QString::fromUtf8("汇")), 0);
  EXPECT_EQ(contents(), Utf16LeWithBom(QString::fromUtf8("[Dict]\r\nWord=汇\r\n")));

  const QByteArray odd = Utf16LeWithBom("[Dict]\r\nWord=a\r\n") + "\x01";  // a stray last byte
  write(odd);
  EXPECT_EQ(WriteProfileString(file(), "Dict", "Word", "b"), 0) << "a rewrite would drop the stray byte";
  EXPECT_EQ(contents(), odd);
}

TEST_F(IniFileTest, DeleteRemovesOnlyTheKeysLineInAnyEncoding) {
  write("; top\r\n[VENDRIX]\r\nLINKRESULT=linked\r\n  result = a->b\r\n\r\n[Other]\r\nRESULT=stays\r\n");
  ASSERT_NE(platform::DeleteProfileKey(file(), "vendrix", "RESULT"), 0);
  EXPECT_EQ(contents(), "; top\r\n[VENDRIX]\r\nLINKRESULT=linked\r\n\r\n[Other]\r\nRESULT=stays\r\n");
  // Removing what is not there succeeds and changes nothing.
  ASSERT_NE(platform::DeleteProfileKey(file(), "VENDRIX", "RESULT"), 0);
  ASSERT_NE(platform::DeleteProfileKey(file(), "Missing", "RESULT"), 0);
  EXPECT_EQ(contents(), "; top\r\n[VENDRIX]\r\nLINKRESULT=linked\r\n\r\n[Other]\r\nRESULT=stays\r\n");
  const QString missing = folders_.libraryFolder() + "missing.ini";
  ASSERT_NE(platform::DeleteProfileKey(missing, "VENDRIX", "RESULT"), 0);
  EXPECT_FALSE(QFile::exists(missing));

  write(Utf16LeWithBom(QString::fromUtf8("[Dict]\r\nWord=词\r\nNext=汇\r\n")));
  ASSERT_NE(platform::DeleteProfileKey(file(), "Dict", "Word"), 0);
  EXPECT_EQ(contents(), Utf16LeWithBom(QString::fromUtf8("[Dict]\r\nNext=汇\r\n")));
}

TEST_F(IniFileTest, GarbageNeverCrashesAndAWriteKeepsItsBytes) {
  QByteArray garbage;
  for (int i = 0; i < 4096; ++i) garbage.append(char((i * 131 + 7) % 256));
  write(garbage);
  EXPECT_EQ(read("Normal", "A"), "Error");
  EXPECT_EQ(ReadProfileStringUnicode(file(), "Normal", "A", "Error", 128), "Error");

  // Neither UTF-8 nor GBK: lines are taken one by one and a write touches only its own line.
  const QByteArray mixed = "[Normal]\nA=1\nbad \xFF\xFE\x80 bytes\nName=\xE4\xB8\xAD\n";
  write(mixed);
  EXPECT_EQ(read("Normal", "Name"), QString::fromUtf8("中"));
  ASSERT_NE(WriteProfileString(file(), "Normal", "A", "2"), 0);
  EXPECT_EQ(contents(), QByteArray(mixed).replace("A=1", "A=2"));
}

TEST_F(IniFileTest, HandlesAOneMegabyteLine) {
  const QByteArray longValue(1 << 20, 'v');
  write("[Normal]\nLong=" + longValue + "\nAfter=1");
  EXPECT_EQ(read("Normal", "Long").size(), 254);
  EXPECT_EQ(read("Normal", "After"), "1");
  ASSERT_NE(WriteProfileString(file(), "Normal", "After", "2"), 0);
  EXPECT_EQ(contents(), "[Normal]\nLong=" + longValue + "\nAfter=2");
}

TEST_F(IniFileTest, FailedWriteInAReadOnlyFolderKeepsTheOldFile) {
  const QByteArray before = "[Normal]\nA=1\n";
  write(before);
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders_.libraryFolder());
    EXPECT_EQ(WriteProfileString(file(), "Normal", "A", "2"), 0);
    EXPECT_EQ(WriteProfileString(folders_.libraryFolder() + "new.ini", "Normal", "A", "2"), 0);
  }
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(QDir(folders_.libraryFolder()).entryList(QDir::Files), QStringList{"test.ini"})
      << "no temporary file is left behind";
}

TEST_F(IniFileTest, WriteIntoAMissingFolderFails) {
  EXPECT_EQ(WriteProfileString(folders_.libraryFolder() + "no/such/folder.ini", "Normal", "A", "1"), 0);
  EXPECT_EQ(WriteProfileString("", "Normal", "A", "1"), 0);
}

}  // namespace

namespace {

// The snapshot reads a file once and must answer every look-up as the reader does.
TEST_F(IniFileTest, SnapshotAnswersLikeTheReaderAndListsSectionsInFileOrder) {
  write("[First]\r\n  Key = \"quoted\" \r\n;Key=comment\r\n[second]\nkey=1\n[FIRST]\nkey=late\nOther=2\n"
        "[ Blank ]\nx=[not a section]\n[\xD6\xD0\xCE\xC4]\n\xD6\xD0=\xCE\xC4\n[Last]\nk=v");
  const platform::ProfileSnapshot snapshot(file());
  EXPECT_EQ(snapshot.sectionNames(),
            (QStringList{"First", "second", "FIRST", "Blank", QString::fromUtf8("中文"), "Last"}));
  const QList<QPair<QString, QString>> lookups = {
      {"first", "KEY"}, {"First", "Other"}, {"SECOND", "key"}, {"Blank", "x"},     {QString::fromUtf8("中文"), QString::fromUtf8("中")},
      {"Last", "k"},    {"Missing", "key"}, {"First", "none"}, {"", "key"},        {"First", ""},
  };
  for (const auto& [section, key] : lookups) {
    EXPECT_EQ(snapshot.read(section, key, "Error"), read(section, key)) << section.toStdString() << "/" << key.toStdString();
    EXPECT_EQ(snapshot.read(section, key, "Error", 3), ReadProfileString(file(), section, key, "Error", 3));
  }
  EXPECT_TRUE(platform::ProfileSnapshot(folders_.libraryFolder() + "missing.ini").sectionNames().isEmpty());
}

}  // namespace
