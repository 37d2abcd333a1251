#pragma once
// The dialog of the library's meaning symbols: the pair that encloses a line's meaning keyword.
// Opened modally from the tray menu: frmMeaningKeyword::instance().showModal(). Everything it does
// is the shared symbol dialog's (libraries/symbol_dialog.h) with the data of kMeaningSymbols.

#include "libraries/symbol_dialog.h"
#include "platform/forms/default_instance.h"

class frmMeaningKeyword : public SymbolDialog, public platform::DefaultInstance<frmMeaningKeyword> {
 public:
  frmMeaningKeyword() : SymbolDialog(kMeaningSymbols) {}
};
