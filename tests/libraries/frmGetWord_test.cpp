// The dictionary pop-up under the offscreen platform: a captured word shows with its meaning at
// the top left, sized to its rows, even after the learner dragged it; minimising without a tray
// keeps it shown; closing and Exit bring the manager back.
#include "libraries/frmGetWord.h"

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/frmManager.h"
#include "libraries/frmSysMenuDict.h"
#include "libraries/getword_rows.h"
#include "platform/app/folders.h"
#include "tests/support/library_files.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

const QString kLong = QString("v. 放置；安排").repeated(8);

class GetWord : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir app(QStringLiteral(LEXORN_APP_DIR));
    for (const QString& name : app.entryList({"*.png", "LANG_*.dat"}, QDir::Files))
      QFile::copy(app.filePath(name), folders.programFolder() + name);
    platform::SetProgramFolder(folders.programFolder());
    g_UILanguage = "A";
    TempFolders::writeFile(folders.libraryFolder() + "Words.dic/Words_1.dic",
                           LibraryBytes(QStringList{"[ALL]", "a=甲", "set=" + kLong}));
    g_LibraryFolder = folders.libraryFolder();
    g_LibraryTitle = "Words.abc";
  }
  void TearDown() override {
    platform::UnloadAllForms();
    platform::DeleteUnloadedForms();
    platform::SetProgramFolder({});
  }
  static frmGetWord& popup() { return frmGetWord::instance(); }
  // The heading and that many meaning rows, 1.5 times the font's size each.
  static int HeightFor(qsizetype rows) {
    return TwipsToPixelsHalfEven(popup().Picture1->twips().height() +
                                 MeaningBoxHeightTwips(static_cast<int>(rows), popup().Picture3->font().pointSizeF()));
  }

  TempFolders folders;
};

TEST_F(GetWord, ShowsTheCapturedWordsMeaningSizedToItsRowsAtTheTopLeftEvenAfterADrag) {
  popup().move(40, 30);
  EXPECT_EQ(popup().QueryWord("a", 500, 400, "a b c", 0, 0), 0);
  EXPECT_EQ(popup().lines(), QStringList({"甲", ""}));
  EXPECT_TRUE(popup().isVisible());
  EXPECT_EQ(popup().geometry(), QRect(0, 0, 253, HeightFor(2)));

  popup().Picture1_MouseDown();
  popup().move(300, 200);  // where the learner's drag ended
  popup().CaptureReady1(QStringLiteral("set"));
  ASSERT_GT(popup().lines().size(), 3);
  EXPECT_EQ(popup().lines().join(QString()), kLong);
  EXPECT_EQ(popup().geometry(), QRect(0, 0, 253, HeightFor(popup().lines().size())));

  popup().CaptureReady1(QStringLiteral("missing"));
  EXPECT_EQ(popup().lines(), QStringList({"<Not Found>", ""}));
}

TEST_F(GetWord, StaysShownWhenMinimisedWithoutATrayAndACaptureRestoresIt) {
  ASSERT_FALSE(popup().trayIconShown());  // the offscreen platform has no tray
  popup().CaptureReady1(QStringLiteral("a"));
  popup().showMinimized();
  QCoreApplication::processEvents();
  EXPECT_TRUE(popup().isVisible());
  popup().CaptureReady1(QStringLiteral("set"));
  EXPECT_FALSE(popup().isMinimized());
}

TEST_F(GetWord, ClosingAndExitWithoutALibraryBringTheManagerBack) {
  for (const auto& close : {+[] { frmGetWord::instance().Picture2_Click(); },
                            +[] { frmSysMenuDict::instance().mnuSysTrayExit->click(); }}) {
    popup().show();
    close();
    EXPECT_FALSE(frmGetWord::loaded());
    ASSERT_TRUE(frmManager::loaded());
    EXPECT_TRUE(frmManager::instance().isVisible());
    frmManager::unload();
  }
}

TEST_F(GetWord, TheHintFitsTheHeadingInEveryInterfaceLanguage) {
  for (const char* language : {"A", "C"}) {
    SCOPED_TRACE(language);
    g_UILanguage = language;
    const QString hint = GetMessageText(QStringLiteral("frmGetWord"), QStringLiteral("Hint"), QString());
    ASSERT_FALSE(hint.isEmpty());
    const QFontMetrics metrics(popup().Picture1->font());
    EXPECT_LE(metrics.horizontalAdvance(hint), popup().Picture1->width());
  }
}

}  // namespace
