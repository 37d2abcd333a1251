// The symbol dialog's close picture: the chosen pair becomes the pair in force, is written to the
// library settings file and captions the tray item, the bar is laid out again for it, and the
// dialog closes.
#include "libraries/symbol_dialog.h"

#include "bar/SkolvaneBar.h"
#include "core/bar_fitting_bas.h"
#include "core/language_bas.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "libraries/symbol_choice.h"
#include "platform/dialogs/dialogs.h"
#include "platform/ini/ini.h"

namespace {

const QString kLibrarySection = QStringLiteral("Normal");

// The first entry of a list is the current symbol; any other is a character of a sample.
bool ChoseSampleCharacter(const QComboBox& list) { return list.currentIndex() > 0; }

// The symbol of the chosen entry (an entry holds its symbol as data and shows it legibly).
QString ChosenCharacter(const QComboBox& list) { return FirstSymbolCharacter(list.currentData().toString()); }

}  // namespace

void SymbolDialog::Picture2_Click() {
  // A chosen character becomes the symbol in force; the current symbol left selected stays in
  // force as it is and is written back whole, even when it is longer than one character.
  QString storedStart = offeredStart_;
  QString storedEnd = offeredEnd_;
  if (ChoseSampleCharacter(*Cmb_Start)) *member_.start = storedStart = ChosenCharacter(*Cmb_Start);
  if (ChoseSampleCharacter(*Cmb_End)) *member_.end = storedEnd = ChosenCharacter(*Cmb_End);

  platform::MenuItem& item = *(frmSysMenu::instance().*member_.menuItem);
  item.setCaption(GetMenuText(item.objectName()) + *member_.start + QStringLiteral(" ") + *member_.end);

  const bool startStored = StoreSymbol(member_.startKey, storedStart);
  const bool endStored = StoreSymbol(member_.endKey, storedEnd);
  if (!startStored || !endStored) ReportStoreFailure();

  // Closing never opens the bar (its load opens a library): without it there is nothing to lay out.
  if (SkolvaneBar::loaded()) {
    SkolvaneBar::instance().AdjustObjects();
    FitBarToRows();
  }
  close();
}

bool SymbolDialog::StoreSymbol(QStringView key, const QString& value) {
  g_IniValue = SymbolSettingValue(value);
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), kLibrarySection, key.toString(), g_IniValue);
  return g_IniResult != 0;
}

// The pair is in force until the program ends; the learner is told it will not be there the next
// time the library opens.
void SymbolDialog::ReportStoreFailure() {
  platform::MsgBoxOver(*this, GetMessageText(QStringLiteral("SymbolDialog"), QStringLiteral("Msg_StoreFailed"),
                                  QStringLiteral("The symbols could not be stored in \"%1\". They apply until the "
                                                 "program ends; the next time the library opens it uses the "
                                                 "symbols stored before."))
                       .arg(LibrarySettingsFile()));
}
