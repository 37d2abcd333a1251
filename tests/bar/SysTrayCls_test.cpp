// The bar's tray icon: its tip, and the form without a notification area (the unit tests run
// without one).
#include "bar/SysTrayCls.h"
#include "platform/forms/form.h"

#include <gtest/gtest.h>

namespace {

TEST(SysTrayCls, TheTipIsTheCaptionsBeginningWithoutHalfACharacter) {
  struct Case {
    QString caption;
    QString tip;
  };
  const QString sixtyFour(64, QLatin1Char('a'));
  const QString chinese = QString(30, QChar(0x8BCD));  // three bytes each
  const QString emoji = QString(62, QLatin1Char('b')) + QString::fromUtf8("\xF0\x9F\x93\x96");  // four bytes
  for (const Case& c : {Case{"Now learning:\r\nWords", "Now learning:\r\nWords"}, Case{sixtyFour, sixtyFour.left(63)},
                        Case{chinese, chinese.left(21)}, Case{emoji, emoji.left(62)}}) {
    EXPECT_EQ(SysTrayCls::TipText(c.caption), c.tip) << c.caption.toStdString();
  }
}

TEST(SysTrayCls, WithoutATrayTheFormOffersTheMenuAndIsShownWhenTheIconGoes) {
  platform::Form form("TrayForm");
  form.setCaption("Now learning:\r\nWords");
  SysTrayCls tray;
  tray.ShowIcon(form);
  EXPECT_FALSE(tray.bRunningInTray());  // no notification area: the form offers its menu itself

  ASSERT_FALSE(form.isVisible());
  tray.RemoveIcon(form);
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(tray.bRunningInTray());
}

}  // namespace
