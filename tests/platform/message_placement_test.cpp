// Where message boxes open: the centring rule (message_placement_x11test.cpp holds it on a real X
// server).
#include "platform/dialogs/window_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(MessagePlacement, CentresOverTheOwnerAndKeepsInsideTheArea) {
  const QRect area(0, 0, 1000, 800);
  struct Case {
    QSize size;
    QRect owner;
    QPoint place;
  } cases[] = {
      {{200, 100}, {300, 300, 400, 200}, {400, 350}},      // in the middle of the owner
      {{200, 100}, {-300, 300, 200, 100}, {0, 300}},       // owner off the left edge: pushed inside
      {{200, 100}, {900, 760, 100, 40}, {800, 700}},       // owner in the corner: pushed up and left
      {{1200, 900}, {300, 300, 400, 200}, {0, 0}},         // larger than the area: its corner first
      {{200, 101}, {0, 0, 1000, 800}, {400, 349}},         // over a full-screen window
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::CentredPlace(c.size, c.owner, area), c.place) << c.owner.x() << "," << c.owner.y();
}

}  // namespace
