#pragma once
// The library manager: the start screen when the program is started without a library. For now
// a plain window that start-up can show and Exit can bring back; its library list comes later.

#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"

class frmManager : public platform::Form, public platform::DefaultInstance<frmManager> {
  Q_OBJECT

 public:
  frmManager();
  ~frmManager() override;

  void Form_Load() override;

  platform::Label* Lbl_Empty;  // names the window while it has no content of its own
};
