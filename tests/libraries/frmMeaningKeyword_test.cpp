// The meaning-symbol dialog end to end, as the learner uses it: the bar runs on a library whose
// meanings end with "}" instead of ")", the dialog is shown modally as the tray item shows it, the
// end symbol is chosen with the keyboard and the close picture clicked, all through the window
// system's event path. The settings file then holds the symbol and the bar's meaning row shows
// the meaning at its next word.
#include "bar/SkolvaneBar.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "libraries/frmMeaningKeyword.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

namespace {

using testing_support::TempFolders;

bool HasInk(const platform::PictureBox& box) {
  const QImage& image = box.image();
  const QRgb back = box.backColor().rgb();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != back) return true;
  return false;
}

class MeaningSymbolDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders.programFolder());
    g_LibraryFolder = folders.libraryFolder();
    g_LibraryFileName = "Words.abc";
    g_LibraryPath = g_LibraryFolder + g_LibraryFileName;
    g_LibraryTitle = g_LibraryFileName;
    TempFolders::writeFile(g_LibraryPath, testing_support::LibraryBytes(QStringList{
                                              "{AC}", "apple (fruit} red", "pear (fruit} green", "plum (fruit} blue"}));
    TempFolders::writeFile(settingsFile(), "[Normal]\r\nWordShowLongMeaning=X\r\nWordWait=X\r\nWordSpeak=0\r\n"
                                           "WordShowMain=X\r\nWordMeaningRows=1\r\n");
  }
  void TearDown() override {
    frmMeaningKeyword::unload();
    SkolvaneBar::unload();
    platform::SetProgramFolder({});
    g_LibraryPath.clear();
    g_LibraryFolder.clear();
    g_LibraryFileName.clear();
    g_LibraryTitle.clear();
  }
  QString settingsFile() const { return folders.libraryFolder() + "Words.ini"; }

  TempFolders folders;
  testing_support::ScopedRecordingDialogs dialogs;
};

TEST_F(MeaningSymbolDialog, AnEndSymbolChosenWithTheKeyboardIsStoredAndShowsTheMeaning) {
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.runtimer();
  ASSERT_EQ(g_MeaningSymbolEnd, ")");
  EXPECT_FALSE(HasInk(*bar.Pic_ShowLongMeaning)) << "no meaning ends with \")\"";

  frmMeaningKeyword& dialog = frmMeaningKeyword::instance();
  QString failure = "the dialog was never driven";
  QTimer::singleShot(0, &dialog, [&] {
    QWindow* window = dialog.windowHandle();
    for (int tab = 0; tab < 10 && dialog.focusWidget() != dialog.Cmb_End; ++tab) QTest::keyClick(window, Qt::Key_Tab);
    if (dialog.focusWidget() != dialog.Cmb_End) {
      failure = "Tab never reached the end-symbol list";
      dialog.close();
      return;
    }
    QTest::keyClick(window, '}');
    failure = dialog.Cmb_End->currentText() == "}" ? QString() : "typing \"}\" chose " + dialog.Cmb_End->currentText();
    QTest::mouseClick(window, Qt::LeftButton, {}, dialog.Picture2->geometry().center());
  });
  // A dialog the events never reached must not hold the test forever.
  QTimer::singleShot(10000, &dialog, [] { frmMeaningKeyword::unload(); });
  dialog.showModal();

  ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
  EXPECT_FALSE(frmMeaningKeyword::loaded());
  EXPECT_EQ(platform::ReadProfileString(settingsFile(), "Normal", "WordMeaningSymbolEnd", "(missing)"), "}");
  EXPECT_EQ(platform::ReadProfileString(settingsFile(), "Normal", "WordMeaningSymbolStart", "(missing)"), "(");

  bar.runtimer();  // the bar's next word
  EXPECT_EQ(ExtractMeaningKeyword(g_CurrentText), "(fruit} " + g_CurrentText.section("} ", 1));
  EXPECT_TRUE(HasInk(*bar.Pic_ShowLongMeaning));
}

}  // namespace
