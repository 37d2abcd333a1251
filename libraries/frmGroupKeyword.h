#pragma once
// The dialog of the library's group symbols: the pair that encloses a word group's header line.
// Opened modally from the tray menu: frmGroupKeyword::instance().showModal(). Everything it does
// is the shared symbol dialog's (libraries/symbol_dialog.h) with the data of kGroupSymbols.

#include "libraries/symbol_dialog.h"
#include "platform/forms/default_instance.h"

class frmGroupKeyword : public SymbolDialog, public platform::DefaultInstance<frmGroupKeyword> {
 public:
  frmGroupKeyword() : SymbolDialog(kGroupSymbols) {}
};
