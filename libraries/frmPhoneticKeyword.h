#pragma once
// The dialog of the library's phonetic symbols: the pair that encloses a line's phonetic part.
// Opened modally from the tray menu: frmPhoneticKeyword::instance().showModal(). Everything it does
// is the shared symbol dialog's (libraries/symbol_dialog.h) with the data of kPhoneticSymbols.

#include "libraries/symbol_dialog.h"
#include "platform/forms/default_instance.h"

class frmPhoneticKeyword : public SymbolDialog, public platform::DefaultInstance<frmPhoneticKeyword> {
 public:
  frmPhoneticKeyword() : SymbolDialog(kPhoneticSymbols) {}
};
