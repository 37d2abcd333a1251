#pragma once
// A control that carries a caption: the language walk sets the caption of every control that
// has one and skips the others (picture boxes, timers, text boxes).

#include <QString>

namespace platform {

class Captioned {
 public:
  virtual ~Captioned() = default;
  virtual QString caption() const = 0;
  virtual void setCaption(const QString& caption) = 0;
};

}  // namespace platform
