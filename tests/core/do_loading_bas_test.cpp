#include "core/do_loading_bas.h"

#include "core/vars_bas.h"
#include "tests/support/read_only_folder.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/library_files.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <chrono>

#include <sys/stat.h>

#include <vector>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

std::vector<QString> LoadedLines() {
  return {g_WordLines.begin(), g_WordLines.begin() + g_LineCountCopy + 1};
}

class WordLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_LibraryPath = folders_.libraryFolder() + "Test.abc";
  }

  bool loadBytes(const QByteArray& bytes) {
    TempFolders::writeFile(g_LibraryPath, bytes);
    return LoadWordLibrary();
  }
  bool loadText(const QString& text) { return loadBytes(LibraryBytes(text)); }

  void expectEmptyLibrary() const {
    EXPECT_EQ(g_LineCount, 0);
    EXPECT_EQ(g_LineCountCopy, 0);
    ASSERT_FALSE(g_WordLines.empty());
    EXPECT_TRUE(g_WordLines[0].isEmpty());
    EXPECT_EQ(g_GroupCount, 0);
  }

  TempFolders folders_;
  testing_support::ScopedRecordingDialogs dialogs_;
};

TEST_F(WordLibraryTest, LoadsHeaderAndWordLines) {
  ASSERT_TRUE(loadText("{AC}\r\napple@[ae]apple\r\n"));
  EXPECT_EQ(LoadedLines(), (std::vector<QString>{"{AC}", "apple@[ae]apple"}));
  EXPECT_EQ(g_LineCount, 1);
  EXPECT_EQ(g_LineCountCopy, 1);
  EXPECT_EQ(g_SourceLang, "A");
  EXPECT_EQ(g_TargetLang, "C");
}

TEST_F(WordLibraryTest, CrEndsLinesLfIsDroppedAndBlankLinesVanish) {
  struct Case {
    QString text;
    std::vector<QString> lines;
  };
  const std::vector<Case> cases = {
      {"{AC}\r\n\r\n\r\nx\r\n", {"{AC}", "x"}},
      {"ab\ncd\r\ne", {"abcd", "e"}},
      {"\n\r\n\ra\r", {"a"}},
      {"{AC}\rlast line, no break", {"{AC}", "last line, no break"}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(loadText(c.text));
    EXPECT_EQ(LoadedLines(), c.lines) << c.text.toStdString();
  }
}

TEST_F(WordLibraryTest, FinalLoneByteIsIgnored) {
  ASSERT_TRUE(loadBytes(LibraryBytes("{AC}\r\nword") + QByteArray(1, 'x')));
  EXPECT_EQ(LoadedLines(), (std::vector<QString>{"{AC}", "word"}));
}

TEST_F(WordLibraryTest, LanguagesComeFromTheLastBraceOfLinesBeginningWithABrace) {
  ASSERT_TRUE(loadText("{AC}\r\nx{GF}\r\n{DS}\r\n"));
  EXPECT_EQ(g_SourceLang, "D");
  EXPECT_EQ(g_TargetLang, "S");

  ASSERT_TRUE(loadText("{A}\r\n"));
  EXPECT_EQ(g_SourceLang, "A");
  EXPECT_EQ(g_TargetLang, "");

  // A library without a header does not inherit the previous library's languages.
  ASSERT_TRUE(loadText("word@x\r\n"));
  EXPECT_EQ(g_SourceLang, "");
  EXPECT_EQ(g_TargetLang, "");
}

TEST_F(WordLibraryTest, GroupHeadersNeedBothSymbols) {
  const QString library = "{AC}\r\n<Unit 1>\r\na@x\r\nb@y\r\n<Unit 2>\r\nc@z\r\n";
  g_GroupSymbolStart = "<";
  g_GroupSymbolEnd = ">";
  ASSERT_TRUE(loadText(library));
  ASSERT_EQ(g_GroupCount, 2);
  EXPECT_EQ(g_Groups[1].lineCount, 2);
  EXPECT_EQ(g_Groups[1].header, "<Unit 1>");
  EXPECT_EQ(g_Groups[2].lineCount, 1);
  EXPECT_EQ(g_Groups[2].header, "<Unit 2>");
  EXPECT_EQ(g_GroupName, "<Unit 2>");

  // A second load starts from an empty table: no count or caption of the first library is left.
  ASSERT_TRUE(loadText("{AC}\r\n<Only>\r\n<Empty>\r\nq@r\r\n"));
  ASSERT_EQ(g_GroupCount, 2);
  EXPECT_EQ(g_Groups[1].lineCount, 0);
  EXPECT_EQ(g_Groups[1].header, "<Only>");
  EXPECT_EQ(g_Groups[2].lineCount, 1);
  EXPECT_EQ(g_Groups[3].lineCount, 0);
  EXPECT_TRUE(g_Groups[3].header.isEmpty());

  g_GroupSymbolEnd.clear();
  ASSERT_TRUE(loadText(library));
  EXPECT_EQ(g_GroupCount, 0);
  EXPECT_TRUE(g_GroupName.isEmpty());
}

TEST_F(WordLibraryTest, SaveWritesMarkCrLfLinesAndOneZeroByte) {
  // Chinese, IPA and characters outside the basic plane (surrogate pairs) must survive unchanged.
  const std::vector<QString> lines = {"{AC}", "apple@[ˈæpəl]n. 苹果", "smile@[smaɪl]v. 微笑 😀$n. 笑容 🙂",
                                      "𠀀@[x]rare"};
  ASSERT_TRUE(loadText(lines[0] + "\r\n" + lines[1] + "\r\n\r\n" + lines[2] + "\n\r\n" + lines[3] + "\r\n"));
  ASSERT_EQ(LoadedLines(), lines);

  ASSERT_EQ(SaveWordLibrary(), LibrarySave::Saved);
  const QByteArray saved = TempFolders::readFile(g_LibraryPath);
  EXPECT_EQ(saved, LibraryBytes(lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n" + lines[3]) +
                       QByteArray(1, '\0'));
  EXPECT_EQ(saved.size() % 2, 1);

  g_WordLines.assign(1, "stale");
  ASSERT_TRUE(LoadWordLibrary());
  EXPECT_EQ(LoadedLines(), lines);
}

TEST_F(WordLibraryTest, SaveSkipsEmptyEntriesAndLeavesNoTraceOfALongerFile) {
  const QString padding(500, u'p');
  ASSERT_TRUE(loadText("{AC}\r\n\r\n\r\na@1\r\nb@2\r\n" + padding + "\r\n"));
  g_WordLines[1].clear();  // an entry emptied in memory adds nothing to the file
  g_LineCountCopy = 2;      // lines above the kept last index are not written
  ASSERT_EQ(SaveWordLibrary(), LibrarySave::Saved);
  EXPECT_EQ(TempFolders::readFile(g_LibraryPath), LibraryBytes("{AC}\r\nb@2") + QByteArray(1, '\0'));
}

TEST_F(WordLibraryTest, FailedSaveKeepsTheOldFileAndTellsTheLearner) {
  ASSERT_TRUE(loadText("{AC}\r\nold@x\r\n"));
  const QByteArray before = TempFolders::readFile(g_LibraryPath);
  g_WordLines[1] = "*old@x";
  {
    testing_support::ScopedReadOnlyFolder readOnly(folders_.libraryFolder());
    EXPECT_EQ(SaveWordLibrary(), LibrarySave::Failed);
  }
  EXPECT_EQ(TempFolders::readFile(g_LibraryPath), before);
  EXPECT_EQ(QDir(folders_.libraryFolder()).entryList(QDir::Files), QStringList{"Test.abc"});
  EXPECT_EQ(g_WordLines[1], "*old@x");
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_TRUE(dialogs_->messages[0].text.contains(g_LibraryPath));
}

TEST_F(WordLibraryTest, MissingEmptyOrShortFilesLoadAsAnEmptyLibrary) {
  const std::vector<QByteArray> files = {QByteArray(), QByteArray(1, '\xFF'), QByteArray("\xFF\xFE", 2),
                                         LibraryBytes("\r\n\n\r\n")};
  for (const QByteArray& bytes : files) {
    g_WordLines.assign(3, "stale");
    EXPECT_TRUE(loadBytes(bytes)) << bytes.toHex().toStdString();
    expectEmptyLibrary();
  }
  QFile::remove(g_LibraryPath);
  EXPECT_TRUE(LoadWordLibrary());
  expectEmptyLibrary();
  EXPECT_TRUE(dialogs_->messages.empty());
}

TEST_F(WordLibraryTest, APathThatIsNoFileIsRefusedByNameWithoutBeingOpened) {
  const QString fifo = folders_.libraryFolder() + "Pipe.abc";
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  const QString folder = folders_.libraryFolder() + "Folder.abc";
  ASSERT_TRUE(QDir().mkpath(folder));
  const std::vector<std::pair<QString, QString>> cases = {
      {folder, "a folder"},
      {fifo, "a named pipe (FIFO)"},
      {"/dev/zero", "a character device"},
      {"/dev/urandom", "a character device"},
  };
  for (const auto& [path, what] : cases) {
    SCOPED_TRACE(path.toStdString());
    dialogs_->messages.clear();
    g_WordLines.assign(3, "stale");
    g_LibraryPath = path;
    EXPECT_FALSE(LoadWordLibrary());  // a FIFO would block a reader, a device never end
    expectEmptyLibrary();
    ASSERT_EQ(dialogs_->messages.size(), 1u);
    EXPECT_TRUE(dialogs_->messages[0].text.contains("\"" + path + "\" is " + what)) << dialogs_->messages[0].text.toStdString();
    EXPECT_EQ(SaveWordLibrary(), LibrarySave::Failed);
    EXPECT_EQ(ReloadSettledWordLibrary(), LibraryLoad::Refused);
  }
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{});
}

QString NumberedLines(int count) {
  QString text = "{AC}";
  for (int i = 1; i < count; ++i) text += "\r\nw" + QString::number(i);
  return text;
}

TEST_F(WordLibraryTest, HoldsExactlyTheLargestLineCount) {
  ASSERT_TRUE(loadText(NumberedLines(kMaxLibraryLines)));
  EXPECT_EQ(g_LineCountCopy, 32767);
  EXPECT_EQ(g_WordLines[32767], "w32767");
  EXPECT_TRUE(dialogs_->messages.empty());
}

TEST_F(WordLibraryTest, RefusesTooManyLinesOrGroupsAndNeverWritesThem) {
  QString tooManyGroups = "{AC}";
  for (int g = 0; g <= kMaxWordGroups; ++g) tooManyGroups += "\r\n<G" + QString::number(g) + ">\r\nw@x";
  const std::vector<std::pair<QString, QString>> cases = {
      {NumberedLines(kMaxLibraryLines + 1), "32,768"},
      {tooManyGroups, "1,000"},
  };
  g_GroupSymbolStart = "<";
  g_GroupSymbolEnd = ">";
  for (const auto& [text, limit] : cases) {
    dialogs_->messages.clear();
    EXPECT_FALSE(loadText(text));
    expectEmptyLibrary();
    ASSERT_EQ(dialogs_->messages.size(), 1u);
    EXPECT_TRUE(dialogs_->messages[0].text.contains(g_LibraryPath));
    EXPECT_TRUE(dialogs_->messages[0].text.contains(limit));

    const QByteArray before = TempFolders::readFile(g_LibraryPath);
    EXPECT_EQ(SaveWordLibrary(), LibrarySave::Failed);
    EXPECT_EQ(TempFolders::readFile(g_LibraryPath), before);
  }
  // The next library that fits is written again.
  ASSERT_TRUE(loadText("{AC}\r\n<G1>\r\nw@x"));
  EXPECT_EQ(SaveWordLibrary(), LibrarySave::Saved);
}

TEST_F(WordLibraryTest, ALibraryPastTheLineLimitIsRefusedWithoutReadingTheRest) {
  // The lines past the limit are followed by 4 GB of a hole in the file: read whole, the library
  // would take seconds and gigabytes before its refusal.
  const QByteArray lines = LibraryBytes(NumberedLines(kMaxLibraryLines + 1) + "\r\n");
  TempFolders::writeFile(g_LibraryPath, lines);
  ASSERT_TRUE(QFile::resize(g_LibraryPath, lines.size() + (qint64{4} << 30)));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(LoadWordLibrary());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  expectEmptyLibrary();
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_TRUE(dialogs_->messages[0].text.contains("32,768"));
  EXPECT_EQ(ReloadSettledWordLibrary(), LibraryLoad::Refused);
}

TEST_F(WordLibraryTest, HeaderProbesReadTheFirstBraces) {
  struct Case {
    QByteArray bytes;
    QString header;
    bool hash;
  };
  const std::vector<Case> cases = {
      {LibraryBytes("{AC}#\r\nx@y"), "AC", true},
      {LibraryBytes("{ABCD}\r\n"), "AB", false},
      {LibraryBytes("{AC}\r\n#"), "AC", false},
      {LibraryBytes("{AC} #"), "AC", false},
      {LibraryBytes("no braces"), "", false},
      {LibraryBytes("{AC"), "", false},
      {LibraryBytes("{}#"), "", true},
      {LibraryBytes("x}{\r\nA\nC}"), "AC", false},
      {LibraryBytes("{{A}"), "{A", false},
      {LibraryBytes("{AC}") + QByteArray(1, '#'), "AC", false},
      {QByteArray(), "", false},
  };
  for (const Case& c : cases) {
    const QString path = TempFolders::writeFile(folders_.libraryFolder() + "Probe.abc", c.bytes);
    EXPECT_EQ(ReadLibraryHeader(path), c.header) << c.bytes.toHex().toStdString();
    EXPECT_EQ(LibraryHasHashAfterHeader(path), c.hash) << c.bytes.toHex().toStdString();
  }
  EXPECT_EQ(ReadLibraryHeader(folders_.libraryFolder() + "Missing.abc"), "");
  EXPECT_FALSE(LibraryHasHashAfterHeader(folders_.libraryFolder() + "Missing.abc"));
}

TEST_F(WordLibraryTest, HeaderProbeFindsBracesBeyondTheFirstBlock) {
  const QString path = TempFolders::writeFile(folders_.libraryFolder() + "Late.abc",
                                              LibraryBytes(QString(5000, u'x') + "{FG}#"));
  EXPECT_EQ(ReadLibraryHeader(path), "FG");
  EXPECT_TRUE(LibraryHasHashAfterHeader(path));
}

TEST_F(WordLibraryTest, ShippedSamplesLoad) {
  g_LibraryPath = LEXORN_SOURCE_DIR "/data/samples/English-Chinese.abc";
  ASSERT_TRUE(LoadWordLibrary());
  EXPECT_GE(g_LineCountCopy, 120);
  EXPECT_EQ(g_SourceLang + g_TargetLang, "AC");
  for (int i = 1; i <= g_LineCountCopy; ++i) EXPECT_TRUE(g_WordLines[i].contains("@[")) << i;

  g_LibraryPath = LEXORN_SOURCE_DIR "/data/samples/English-Chinese-Groups.abc";
  g_GroupSymbolStart = "<";
  g_GroupSymbolEnd = ">";
  ASSERT_TRUE(LoadWordLibrary());
  EXPECT_EQ(g_WordLines[1], "<Unit 1 Food>");
  ASSERT_EQ(g_GroupCount, 4);
  for (int g = 1; g <= g_GroupCount; ++g) EXPECT_EQ(g_Groups[g].lineCount, 10) << g;
}

}  // namespace
