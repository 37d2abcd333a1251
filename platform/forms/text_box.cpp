#include "platform/forms/text_box.h"

namespace platform {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent), twips_(*this) {}

}  // namespace platform
