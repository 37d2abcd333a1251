#pragma once
// Place and size of a control in twips, kept exactly as set so that layout arithmetic that reads
// a value back gets what it wrote; the widget itself is placed at the nearest pixel.
//
// By default the place and the size are each rounded, so equal controls stay equal on the screen
// wherever they stand. A control of a stack of rows rounds its edges instead: a row whose top is
// another row's bottom in twips then starts on the pixel below it, with no seam and no overlap.

#include "platform/forms/twips.h"

#include <QWidget>

namespace platform {

class TwipsGeometry {
 public:
  explicit TwipsGeometry(QWidget& widget) : widget_(widget) {}

  double left() const { return left_; }
  double top() const { return top_; }
  double width() const { return width_; }
  double height() const { return height_; }

  void setLeft(double twips) { move(twips, top_, width_, height_); }
  void setTop(double twips) { move(left_, twips, width_, height_); }
  void setWidth(double twips) { move(left_, top_, twips, height_); }
  void setHeight(double twips) { move(left_, top_, width_, twips); }

  void move(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
    const int leftPixel = TwipsToPixels(left_);
    const int topPixel = TwipsToPixels(top_);
    if (roundEdges_) {
      widget_.setGeometry(leftPixel, topPixel, TwipsToPixels(left_ + width_) - leftPixel,
                          TwipsToPixels(top_ + height_) - topPixel);
    } else {
      widget_.setGeometry(leftPixel, topPixel, TwipsToPixels(width_), TwipsToPixels(height_));
    }
  }

  // Rounds the edges rather than the size from the next move on (the rows of a stack).
  void setRoundEdges(bool on) { roundEdges_ = on; }

  // Takes the widget's current pixel geometry as the twips values (after Qt placed it).
  void syncFromWidget() {
    left_ = PixelsToTwips(widget_.x());
    top_ = PixelsToTwips(widget_.y());
    width_ = PixelsToTwips(widget_.width());
    height_ = PixelsToTwips(widget_.height());
  }

 private:
  QWidget& widget_;
  double left_ = 0;
  double top_ = 0;
  double width_ = 0;
  double height_ = 0;
  bool roundEdges_ = false;
};

// A design place in twips: left, top, width, height.
struct TwipsRect {
  double left, top, width, height;
};

// Places a control at its design place: a control that keeps its place in twips takes it
// exactly, any other widget at the nearest pixel.
template <class Control>
void PlaceInTwips(Control& control, const TwipsRect& rect) {
  if constexpr (requires { control.twips(); }) {
    control.twips().move(rect.left, rect.top, rect.width, rect.height);
  } else {
    control.setGeometry(TwipsToPixels(rect.left), TwipsToPixels(rect.top), TwipsToPixels(rect.width),
                        TwipsToPixels(rect.height));
  }
}

}  // namespace platform
