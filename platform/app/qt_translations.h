#pragma once
// Qt's own texts in the interface language: the buttons of message boxes, the font, colour and
// file dialogs, the edit menu of text boxes. They come from Qt's translation catalogues
// (qtbase_<locale>.qm in Qt's translations folder, Debian package qt6-translations-l10n), not
// from the program's language files; one catalogue is installed at a time.

#include <QString>

namespace platform {

// Installs Qt's catalogue for the locale ("zh_CN"), replacing the one installed before; an empty
// locale leaves Qt's built-in English. Asking again for the locale in force does nothing. A
// catalogue that cannot be found leaves English, told once per run on the terminal.
void UseQtTranslations(const QString& locale);

// The locale whose catalogue is in force (empty: English).
QString QtTranslationsLocale();

}  // namespace platform
