#pragma once
// A label: a caption drawn as it stands ("&" is a character, not a mnemonic prefix).

#include "platform/forms/captioned.h"
#include "platform/forms/mouse.h"
#include "platform/forms/twips_geometry.h"

#include <QLabel>

namespace platform {

class Label : public QLabel, public Captioned {
  Q_OBJECT

 public:
  explicit Label(QWidget* parent);

  QString caption() const override { return text(); }
  void setCaption(const QString& caption) override { setText(caption); }

  TwipsGeometry& twips() { return twips_; }
  void setForeColor(const QColor& color);
  void setBackColor(const QColor& color);

  MouseHandlers& mouse() { return mouse_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TwipsGeometry twips_;
  MouseHandlers mouse_;
};

}  // namespace platform
