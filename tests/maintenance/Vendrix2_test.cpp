// The file-type registration program, run for real in a private home: the desktop's own tools
// must afterwards map a library file to our type and our type to the word bar, and a failing
// tool must never be reported as a registration.

#include "maintenance/Vendrix2/Module1.h"
#include "platform/filetype/filetype.h"
#include "platform/ini/ini.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
  int exitCode = -1;
  QString output;
};

class Vendrix2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    // A program folder with a blank and an apostrophe, as the shell must quote it.
    programFolder_ = home_.path() + QStringLiteral("/my programs/Corvel's/");
    ASSERT_TRUE(QDir().mkpath(programFolder_));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LEXORN_APP_DIR "/Vendrix2"), programFolder_ + "Vendrix2"));
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("HOME"), home_.path());
    environment_.insert(QStringLiteral("USERPROFILE"), home_.path());
    environment_.insert(QStringLiteral("XDG_DATA_HOME"), home_.path() + "/data");
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path() + "/config");
    environment_.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    environment_.remove(QStringLiteral("DISPLAY"));
  }

  ToolRun run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll()).trimmed()};
  }

  QString linkResult() const {
    return platform::ReadProfileString(home_.path() + "/CORVELSETUP.ini", "VENDRIX", "LINKRESULT",
                                       "Error");
  }

  void setLanguage(const QString& letter) const {
    platform::WriteProfileString(home_.path() + "/CORVELSETUP.ini", "GLOBAL", "LANGUAGE", letter);
  }

  QString writeLibrary(const QString& name, const QByteArray& bytes) const {
    const QString path = home_.path() + "/" + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QTemporaryDir home_;
  QString programFolder_;
  QProcessEnvironment environment_;
};

TEST_F(Vendrix2Test, RegistersLibrariesForTheWordBarTwiceAlike) {
  setLanguage("C");
  // Newer desktops know *.abc as music notation too: the file's first bytes must decide.
  QDir().mkpath(home_.path() + "/data/mime/packages");
  QFile notation(home_.path() + "/data/mime/packages/abc-notation.xml");
  ASSERT_TRUE(notation.open(QIODevice::WriteOnly));
  notation.write(
      "<?xml version=\"1.0\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
      "  <mime-type type=\"text/vnd.abc\"><sub-class-of type=\"text/plain\"/>"
      "<glob pattern=\"*.abc\"/></mime-type>\n</mime-info>\n");
  notation.close();
  for (int pass = 0; pass < 2; ++pass) {
    const ToolRun vendrix = run(programFolder_ + "Vendrix2", {});
    ASSERT_EQ(vendrix.exitCode, 0) << vendrix.output.toStdString();
  }
  EXPECT_EQ(linkResult(), QStringLiteral("扩展名 .abc 已经被关联到 Corvel'sLexorn2.exe!"));

  const QString library = writeLibrary("Words.abc", QByteArray::fromHex("fffe7b004100430007d00d000a00"));
  EXPECT_EQ(run("xdg-mime", {"query", "filetype", library}).output,
            "application/x-corvels-lexorn-library");
  EXPECT_EQ(run("xdg-mime", {"query", "default", "application/x-corvels-lexorn-library"}).output,
            "corvels-lexorn2.desktop");
  // A music-notation file of the same name pattern is not taken for a library.
  const QString tune = writeLibrary("Tune.abc", "X:1\nT:Tune\nK:C\nCDEF|\n");
  EXPECT_EQ(run("xdg-mime", {"query", "filetype", tune}).output, "text/vnd.abc");

  // The entry is valid and its command names our program, quoted, with the file as argument.
  const QString entry = home_.path() + "/data/applications/corvels-lexorn2.desktop";
  const ToolRun validate = run("desktop-file-validate", {entry});
  EXPECT_EQ(validate.exitCode, 0) << validate.output.toStdString();
  QFile entryFile(entry);
  ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(entryFile.readAll())
                  .contains("Exec=\"" + programFolder_ + "Corvel'sLexorn2\" %f"));
}

TEST_F(Vendrix2Test, AFolderWithPercentSignsGivesAValidEntryAndSaysSoOnTheTerminal) {
  const QString folder = home_.path() + QStringLiteral("/50%f dir %% $x/");
  ASSERT_TRUE(QDir().mkpath(folder));
  ASSERT_TRUE(QFile::copy(QStringLiteral(LEXORN_APP_DIR "/Vendrix2"), folder + "Vendrix2"));
  const ToolRun vendrix = run(folder + "Vendrix2", {});
  ASSERT_EQ(vendrix.exitCode, 0) << vendrix.output.toStdString();
  EXPECT_EQ(vendrix.output.split('\n').last(), linkResult());
  EXPECT_EQ(linkResult(), ".abc has been linked to Corvel'sLexorn2.exe!");

  const QString entry = home_.path() + "/data/applications/corvels-lexorn2.desktop";
  const ToolRun validate = run("desktop-file-validate", {entry});
  EXPECT_EQ(validate.exitCode, 0) << validate.output.toStdString();
  QFile entryFile(entry);
  ASSERT_TRUE(entryFile.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString::fromUtf8(entryFile.readAll()).contains("Exec=\"" + home_.path() + "/50%%f dir %%%% \\\\$x/Corvel'sLexorn2\" %f"));
}

TEST_F(Vendrix2Test, AFailingToolIsReportedAndNeverCalledLinked) {
  // A tool on the PATH that fails, as a broken installation's would.
  const QString tools = home_.path() + "/tools";
  ASSERT_TRUE(QDir().mkpath(tools));
  QFile broken(tools + "/update-desktop-database");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("#!/bin/sh\necho cache folder is read-only >&2\nexit 3\n");
  broken.close();
  broken.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  environment_.insert("PATH", tools + ":" + environment_.value("PATH"));

  for (const QString& letter : {QStringLiteral("C"), QStringLiteral("c")}) {
    setLanguage(letter);
    const ToolRun vendrix = run(programFolder_ + "Vendrix2", {});
    EXPECT_EQ(vendrix.exitCode, 1);
    const QString result = linkResult();
    EXPECT_FALSE(result.contains("已经被关联") || result.contains("has been linked")) << result.toStdString();
    EXPECT_TRUE(result.contains("update-desktop-database failed (exit 3)")) << result.toStdString();
    EXPECT_EQ(result.startsWith(".abc could not be linked"), letter != "C") << result.toStdString();
  }
}

TEST(DesktopExecLine, QuotesEveryCharacterTheExecSyntaxReserves) {
  const struct {
    const char* program;
    const char* exec;
  } cases[] = {
      {"/opt/lexorn/Corvel'sLexorn2", "\"/opt/lexorn/Corvel'sLexorn2\" %f"},
      {"/home/a b/Corvel'sLexorn2", "\"/home/a b/Corvel'sLexorn2\" %f"},
      {"/x/\"q\"/$HOME/`id`/back\\slash", "\"/x/\\\"q\\\"/\\$HOME/\\`id\\`/back\\\\slash\" %f"},
      {"/x/50%f dir/%%/Corvel'sLexorn2", "\"/x/50%%f dir/%%%%/Corvel'sLexorn2\" %f"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::DesktopExecLine(QString::fromUtf8(c.program)), QString::fromUtf8(c.exec));
  }
}

}  // namespace
