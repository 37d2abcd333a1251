#pragma once
// A command button: a caption, a click handler, and optionally a picture drawn under the caption
// (a graphical button). Placed in twips like every control; it may sit outside the visible part
// of its form and still be pressed with the keyboard while it has the focus.

#include "platform/forms/captioned.h"
#include "platform/forms/twips_geometry.h"

#include <QImage>
#include <QPushButton>

#include <functional>

namespace platform {

class CommandButton : public QPushButton, public Captioned {
  Q_OBJECT

 public:
  explicit CommandButton(QWidget* parent);

  QString caption() const override { return text(); }
  void setCaption(const QString& caption) override { setText(caption); }

  TwipsGeometry& twips() { return twips_; }

  // The picture drawn scaled over the whole button under its caption; an empty image draws the
  // plain button again.
  void setPicture(const QImage& picture);

  std::function<void()> onClick;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TwipsGeometry twips_;
  QImage picture_;
};

}  // namespace platform
