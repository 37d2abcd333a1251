// Mouse capture: the control that holds it sees the pointer leave it and move over the rest of its
// window, in its own coordinates, until the capture ends.
#include "platform/forms/mouse_capture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>

#include <vector>

namespace {

class MoveRecorder : public QWidget {
 public:
  using QWidget::QWidget;
  std::vector<QPoint> moves;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override { moves.push_back(event->position().toPoint()); }
};

void Send(QWidget& widget, QEvent::Type type) {
  if (type == QEvent::MouseMove) {
    QMouseEvent move(type, QPointF(1, 1), widget.mapToGlobal(QPointF(1, 1)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
    return;
  }
  QEvent event(type);
  QCoreApplication::sendEvent(&widget, &event);
}

TEST(MouseCapture, TheHolderSeesThePointerLeaveItAndMoveElsewhereInItsWindow) {
  QWidget window;
  window.setGeometry(100, 100, 200, 100);
  auto* holder = new MoveRecorder(&window);  // owned by the window
  holder->setGeometry(0, 0, 100, 100);
  auto* neighbour = new QWidget(&window);
  neighbour->setGeometry(100, 0, 100, 100);
  QWidget elsewhere;
  window.show();
  QCursor::setPos(window.mapToGlobal(QPoint(150, 20)));
  const QPoint pointer = holder->mapFromGlobal(QCursor::pos());

  platform::SetCapture(*holder);
  EXPECT_EQ(platform::GetCapture(), holder);
  Send(*holder, QEvent::Leave);
  Send(*neighbour, QEvent::MouseMove);
  Send(window, QEvent::Leave);
  Send(elsewhere, QEvent::MouseMove);  // another window: not the holder's business
  EXPECT_EQ(holder->moves, (std::vector<QPoint>{pointer, pointer, pointer}));

  platform::ReleaseCapture();
  EXPECT_EQ(platform::GetCapture(), nullptr);
  Send(*holder, QEvent::Leave);
  Send(*neighbour, QEvent::MouseMove);
  EXPECT_EQ(holder->moves.size(), 3U);
}

}  // namespace
