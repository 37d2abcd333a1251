#include "platform/window/kept_above.h"
#include "platform/window/window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QWidget>
#include <QWindow>

namespace {

QWindow* TransientParentOf(QWidget& window) {
  return window.windowHandle() != nullptr ? window.windowHandle()->transientParent() : nullptr;
}

// Which windows open over a shown topmost window, and that they are let go once it is gone.
TEST(KeptAbove, WindowsShownOverATopmostWindowBelongToItUntilItGoes) {
  QWidget bar;
  platform::MakeTopmostToolWindow(bar);

  QWidget before;
  before.show();  // no topmost window on screen yet
  EXPECT_EQ(TransientParentOf(before), nullptr);
  before.hide();

  platform::SetWindowPosTopmost(bar, 10, 10, 200, 30, true);
  QWidget dialog(nullptr, Qt::Dialog);
  dialog.show();
  EXPECT_EQ(TransientParentOf(dialog), bar.windowHandle());
  QMenu menu;
  menu.popup(QPoint(20, 20));
  EXPECT_NE(TransientParentOf(menu), bar.windowHandle()) << "a pop-up menu is left alone";
  menu.hide();
  QWidget docked(nullptr, Qt::Window | Qt::BypassWindowManagerHint);
  docked.show();
  EXPECT_EQ(TransientParentOf(docked), nullptr) << "a window the window manager never sees";
  before.show();  // shown again: belongs to the bar now
  EXPECT_EQ(TransientParentOf(before), bar.windowHandle());

  bar.hide();
  QApplication::processEvents();
  EXPECT_EQ(TransientParentOf(dialog), nullptr);
  EXPECT_EQ(TransientParentOf(before), nullptr);
}

}  // namespace
