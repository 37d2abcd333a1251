// The dictionary pop-up under the offscreen platform: a captured word shows with its meaning at
// the top left, sized to its rows; a learner's drag is kept; minimising without a tray keeps the
// window; closing and Exit bring the manager back.
#include "libraries/frmGetWord.h"

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

namespace {

using testing_support::LibraryBytes;
using testing_support::TempFolders;

class GetWord : public ::testing::Test {
 protected:
  void SetUp() override {
    const QDir app(QStringLiteral(LEXORN_APP_DIR));
    for (const QString& name : app.entryList(QDir::Files)) {
      if (name != "TopicList.ini" && name != "Settings.ini") QFile::copy(app.filePath(name), folders.programFolder() + name);
    }
    platform::SetProgramFolder(folders.programFolder());
    g_UILanguage = "A";
    g_CommandLine.clear();
    TempFolders::writeFile(folders.libraryFolder() + "Words.abc", LibraryBytes(QStringList{"{AC}#", "[ALL]"}));
    TempFolders::writeFile(folders.libraryFolder() + "Words.dic/Words_1.dic",
                           LibraryBytes(QStringList{"[ALL]", "a=甲", "set=" + QString("v. 放置；安排").repeated(8)}));
    g_LibraryFolder = folders.libraryFolder();
    g_LibraryTitle = g_LibraryFileName = "Words.abc";
    g_LibraryPath = g_LibraryFolder + g_LibraryTitle;
  }
  void TearDown() override {
    platform::UnloadAllForms();
    platform::DeleteUnloadedForms();
    platform::SetProgramFolder({});
    g_UILanguage.clear();
    g_LibraryPath.clear();
    g_LibraryFolder.clear();
    g_LibraryFileName.clear();
    g_LibraryTitle.clear();
  }
  static frmGetWord& popup() { return frmGetWord::instance(); }
  // The window's height for that many meaning rows: the heading and the rows.
  static int HeightFor(int rows) {
    return TwipsToPixelsHalfEven(popup().Picture1->twips().height() +
                                 MeaningBoxHeightTwips(rows, popup().Picture3->font().pointSizeF()));
  }

  TempFolders folders;
};

TEST_F(GetWord, ShowsTheCapturedWordsMeaningAtTheTopLeftSizedToItsRows) {
  popup().move(40, 30);
  EXPECT_EQ(popup().QueryWord("a", 500, 400, "a b c", 0, 0), 0);
  EXPECT_EQ(popup().lines(), QStringList({"甲", ""}));
  EXPECT_TRUE(popup().isVisible());
  EXPECT_EQ(popup().geometry(), QRect(0, 0, 253, HeightFor(2)));

  popup().CaptureReady1(QStringLiteral("set"));
  ASSERT_GT(popup().lines().size(), 3);
  EXPECT_EQ(popup().lines().join(QString()), QString("v. 放置；安排").repeated(8));
  EXPECT_EQ(popup().height(), HeightFor(static_cast<int>(popup().lines().size())));

  popup().CaptureReady1(QStringLiteral("missing"));
  EXPECT_EQ(popup().lines(), QStringList({"<Not Found>", ""}));
}

TEST_F(GetWord, KeepsThePlaceTheLearnerDraggedItTo) {
  popup().CaptureReady1(QStringLiteral("a"));
  popup().Picture1_MouseDown();
  popup().move(300, 200);  // where the drag ended
  popup().CaptureReady1(QStringLiteral("set"));
  EXPECT_EQ(popup().pos(), QPoint(300, 200));
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

}  // namespace
