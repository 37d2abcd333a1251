#pragma once
// A picture box with persistent drawing: everything drawn goes into a backing image that the
// widget paints from, so drawings survive being covered, hidden or moved.

#include "platform/forms/mouse.h"
#include "platform/forms/twips_geometry.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

namespace platform {

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent);

  TwipsGeometry& twips() { return twips_; }
  const TwipsGeometry& twips() const { return twips_; }

  QColor backColor() const { return backColor_; }
  // A new back colour clears the drawing; a shown box then runs its Paint event, as a box whose
  // face was wiped is painted again.
  void setBackColor(const QColor& color);
  QColor foreColor() const { return foreColor_; }
  void setForeColor(const QColor& color) { foreColor_ = color; }

  // The font's character-set number as the settings store it (Qt fonts carry none of their own).
  int fontCharset() const { return fontCharset_; }
  void setFontCharset(int charset) { fontCharset_ = charset; }

  // Clears the drawing to the back colour and the picture, if one is set.
  void cls();
  // Draws into the persistent image and shows the result.
  void draw(const std::function<void(QPainter&)>& paint);
  // Sets the picture the box shows under its drawing, at its own size from the box's top-left
  // corner, cut off at the box's edges (an empty image removes it); clears the drawing, and a shown
  // box runs its Paint event.
  void setPicture(const QImage& picture);

  // The drawing at the box's current size.
  const QImage& image() const;

  // Moves reach onMouseMove whether or not a button is held.
  MouseHandlers& mouse() { return mouse_; }
  // The program's Paint event: runs when the box is shown, and again whenever a new back colour or
  // picture wipes what a shown box holds (a box that drew its text once would otherwise stay
  // blank until something draws into it again). Repaints and resizes keep the persistent image,
  // so they need no handler, and a handler that draws, clears, recolours or resizes never
  // triggers itself.
  std::function<void()> onPaint;
  // Also run onPaint when the shown box changes size: for a box whose drawing is made for its
  // size (a fill by percentage), not kept from before.
  void setPaintOnResize(bool on) { paintOnResize_ = on; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void resizeImage(const QSize& size) const;
  // Runs onPaint unless it is already running.
  void runPaintHandler();
  // A wiped face of a shown box is painted again.
  void repaintWiped();

  TwipsGeometry twips_;
  // The persistent drawing. Kept at the widget's size lazily: a hidden box gets no resize event
  // until it is shown, so every access brings the image to the current size first.
  mutable QImage image_;
  QImage picture_;
  QColor backColor_{Qt::white};
  QColor foreColor_{Qt::black};
  MouseHandlers mouse_;
  int fontCharset_ = 0;
  bool paintOnResize_ = false;
  bool inPaintHandler_ = false;
};

}  // namespace platform
