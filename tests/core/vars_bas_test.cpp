#include "core/vars_bas.h"

#include "core/KeyBoardHook_bas.h"
#include "core/cycle_bas.h"
#include "core/do_loading_bas.h"
#include "core/kill_bas.h"
#include "core/language_bas.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <chrono>

TEST(SharedState, CycleStartsAtFirstPosition) {
  EXPECT_EQ(g_CyclePos, 1);
  EXPECT_EQ(g_CycleCount, 0);
}

TEST(SharedState, ResetPutsChangedValuesBackToTheirStart) {
  g_LibraryPath = "/tmp/Words.abc";
  g_WordLines = {"{AC}", "a@b"};
  g_CyclePos = 7;
  g_CycleTable.resize(3);
  g_Speed = 5000;
  g_UILanguage = "A";
  g_MeaningRows = 4;
  g_Pieces.resize(2);
  g_KillSpeakCount = 3;
  g_KillSavedPos = 9;
  g_LastKillTime = std::chrono::steady_clock::now();
  g_CycleIsCut = g_LibraryRefused = g_HookFailureTold = true;
  g_UILanguage = "C";
  FollowUILanguageInQtTexts();  // Qt's own texts in Chinese, as a Chinese learner's run has them
  ASSERT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");

  ResetSharedState();

  EXPECT_TRUE(g_LibraryPath.isEmpty());
  EXPECT_TRUE(g_WordLines.empty());
  EXPECT_EQ(g_CyclePos, 1);
  EXPECT_TRUE(g_CycleTable.empty());
  EXPECT_EQ(g_Speed, 2000);
  EXPECT_TRUE(g_UILanguage.isEmpty());
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
  EXPECT_EQ(g_MeaningRows, 0);
  EXPECT_TRUE(g_Pieces.empty());
  EXPECT_EQ(g_KillSpeakCount, 0);
  EXPECT_EQ(g_KillSavedPos, 0);
  EXPECT_FALSE(g_LastKillTime.has_value());
  EXPECT_FALSE(g_CycleIsCut);
  EXPECT_FALSE(g_LibraryRefused);
  EXPECT_FALSE(g_HookFailureTold);
  EXPECT_FALSE(g_KeyHooked);
}

// A shared value added to a program header but not to the reset would leak from one test into
// the next; every one declared there must be named where ResetSharedState restores it.
TEST(SharedState, ResetKnowsEverySharedValueOfTheProgram) {
  const QString source = QStringLiteral(LEXORN_SOURCE_DIR "/");
  QFile resetSource(source + "core/vars_bas.cpp");
  ASSERT_TRUE(resetSource.open(QIODevice::ReadOnly));
  const QString reset = QString::fromUtf8(resetSource.readAll());
  const QRegularExpression declaration(QStringLiteral(R"(^inline (?!constexpr)[^=;(]*\b(g_\w+)\s*[=;{])"),
                                       QRegularExpression::MultilineOption);
  int declared = 0;
  for (const QString folder : {"core", "bar", "libraries", "progress"}) {
    QDirIterator headers(source + folder, {"*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (headers.hasNext()) {
      QFile file(headers.next());
      ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
      auto matches = declaration.globalMatch(QString::fromUtf8(file.readAll()));
      while (matches.hasNext()) {
        const QString name = matches.next().captured(1);
        ++declared;
        EXPECT_TRUE(reset.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(name))))
            << file.fileName().toStdString() << ": " << name.toStdString();
      }
    }
  }
  EXPECT_GT(declared, 90);  // the scan found the declarations
}
