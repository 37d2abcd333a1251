#pragma once
// A one-line text box. It has no caption: the language walk leaves its text alone, and code reads
// and writes the text. Read-only boxes show a value the learner cannot edit.

#include "platform/forms/twips_geometry.h"

#include <QLineEdit>

namespace platform {

class TextBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit TextBox(QWidget* parent);

  TwipsGeometry& twips() { return twips_; }

 private:
  TwipsGeometry twips_;
};

}  // namespace platform
