#pragma once
// The dictionary pop-up's tray menu form: never shown, it holds the menu mnuSysTray that a right
// click on the pop-up's tray icon opens, with About and Exit. Its captions are fixed; they do not
// come from the language files.

#include "platform/forms/default_instance.h"
#include "platform/forms/menu_item.h"

class frmSysMenuDict : public platform::Form, public platform::DefaultInstance<frmSysMenuDict> {
  Q_OBJECT

 public:
  frmSysMenuDict();
  ~frmSysMenuDict() override;

  // Handlers.
  void mnuSysTrayAbout_Click();
  // Closes the pop-up: back to the library manager when the program was started without a
  // library, otherwise the program ends.
  void mnuSysTrayExit_Click();

  using Item = platform::MenuItem*;
  Item mnuSysTray;  // the pop-up root
  Item mnuSysTrayAbout;
  Item S4;
  Item mnuSysTrayExit;
};
