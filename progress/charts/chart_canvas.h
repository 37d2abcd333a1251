#pragma once
// Drawing a chart in its own units. A chart box has a scale of its own (twips, or 31 columns of
// 180 units for the day chart): x from 0 at the left to the chart's width, y from 0 at the top to
// its height. Boxes are given between two corners in those units and filled on the picture box's
// persistent image through one transform from chart units to pixels; pointer positions come back
// through its inverse.

#include "platform/forms/picture_box.h"

#include <QColor>
#include <QPointF>
#include <QTransform>

#include <functional>

class ChartCanvas {
 public:
  // A canvas `width` by `height` chart units over the box's current size.
  ChartCanvas(platform::PictureBox& box, double width, double height);

  double width() const { return width_; }
  double height() const { return height_; }

  // Fills boxes on the persistent image; `paint` is called once with the filler.
  using BoxFiller = std::function<void(QPointF corner, QPointF oppositeCorner, const QColor& color)>;
  void draw(const std::function<void(const BoxFiller& fillBox)>& paint);

  // A point in the box's pixels as chart units.
  QPointF toChart(QPointF pixel) const;

 private:
  platform::PictureBox& box_;
  double width_;
  double height_;
  QTransform toPixels_;
};
