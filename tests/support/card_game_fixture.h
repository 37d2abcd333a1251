#pragma once
// A fixture for the card game's windows: a temporary program folder with the shipped language
// files and game pictures, a library folder whose settings file takes the best score, a current
// segment filled directly, and recorded message boxes. Every game window is unloaded afterwards.

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/forms/default_instance.h"
#include "platform/ini/ini.h"
#include "progress/game/card_picture_folder.h"
#include "progress/game/frmCampaignButton.h"
#include "progress/game/frmGame.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"
#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>

#include <ostream>

// Failing comparisons of texts print the text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace testing_support {

class CardGameFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    const QDir app(QStringLiteral(LEXORN_APP_DIR));
    for (const QString& name : app.entryList({QStringLiteral("LANG_*.dat"), QStringLiteral("Game*.png")}, QDir::Files))
      QFile::copy(app.filePath(name), folders_.programFolder() + name);
    g_UILanguage = QStringLiteral("A");
    g_LibraryFolder = folders_.libraryFolder();
    g_LibraryFileName = QStringLiteral("Words.abc");
    g_FontSpec = QStringLiteral("Arial;0:14");
    g_TextBoxHeight = 14 * 20 * 12 / 10;
    g_GameBestScore = QStringLiteral("99");
    g_GameBestTime = QStringLiteral("00:59:00");
    g_UserIdentity = QStringLiteral("learner@example.org");
  }

  void TearDown() override {
    frmCampaignButton::unload();
    frmGame::unload();
    platform::DeleteUnloadedForms();
    RemoveCardPictureFolder();
    platform::SetProgramFolder({});
  }

  static void SetSegment(const QStringList& lines) {
    g_SegmentLines.clear();
    for (const QString& line : lines) g_SegmentLines.push_back({line, QString()});
  }

  // `count` lines "word1@[w1]meaning1" ...
  static QStringList WordLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) lines << QStringLiteral("word%1@[w%1]meaning%1").arg(i);
    return lines;
  }

  QString settingsFile() const { return folders_.libraryFolder() + QStringLiteral("Words.ini"); }
  QString storedScore() const {
    return platform::ReadProfileString(settingsFile(), QStringLiteral("Normal"), QStringLiteral("WordGameScore"),
                                       QStringLiteral("Error"));
  }

  // What the tray menu's Game item does: the renderer, modally, which then shows the game.
  static void OpenGameFromMenu() { frmGame::instance().showModal(); }

  // A left click on a widget, as the mouse gives it.
  static void Click(QWidget& widget) {
    const QPointF inside(widget.width() / 2.0, widget.height() / 2.0);
    const QPointF global = widget.mapToGlobal(inside);
    QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
  }

  // Cards on the table, once the game window has dealt them.
  static int VisibleCards() {
    if (!frmCampaignButton::instance().Cmd_StartButton->isHidden()) return 0;
    int visible = 0;
    for (const platform::PictureBox* card : frmCampaignButton::instance().picImage) visible += card->isVisible() ? 1 : 0;
    return visible;
  }

  // Opens the game and waits until its cards are dealt.
  static frmCampaignButton& OpenDealtGame() {
    OpenGameFromMenu();
    EXPECT_TRUE(WaitUntil([] { return frmCampaignButton::loaded() && VisibleCards() > 0; }, 3s));
    return frmCampaignButton::instance();
  }

  static QImage ImageOf(int card) { return frmCampaignButton::instance().picImage[static_cast<size_t>(card)]->image(); }

  static void ClickCard(int index) { Click(*frmCampaignButton::instance().picImage[static_cast<size_t>(index)]); }

  // The card that pairs with card `index` in the dealt deck.
  static int PartnerOf(int index) {
    const QString& entry = g_CardDeck[static_cast<size_t>(index)];
    if (entry.isEmpty()) return -1;
    for (int other = 0; other < 12; ++other) {
      const QString& candidate = g_CardDeck[static_cast<size_t>(other)];
      if (other != index && !candidate.isEmpty() && candidate.chopped(1) == entry.chopped(1)) return other;
    }
    return -1;
  }

  TempFolders folders_;
  ScopedRecordingDialogs dialogs_;
};

}  // namespace testing_support
