#pragma once
// The interface texts in the chosen language. They come from LANG_<letter>.dat in the program
// folder, one section per window: a control's name keys its caption, other keys hold texts that
// code joins into captions and messages. The letter is g_UILanguage ("C" Chinese, "A" English).
// A key the file lacks leaves the design caption; nothing is cached, every call reads the file.

#include <QString>

namespace platform {
class Form;
}

// Makes Qt's own texts (the buttons of message boxes, the common dialogs) speak g_UILanguage:
// Chinese for "C", English otherwise. Every lookup below calls it, so a message box shows its
// buttons in the language of the text just looked up for it.
void FollowUILanguageInQtTexts();

// The text stored under the key in the window's section, or an empty text when the language
// file, the section or the key is missing (a stored "Error" counts as missing). Resolves an
// empty language letter from Settings.ini first ("C" when it names none).
QString GetUIText(const QString& section, const QString& key);

// Captions every control of the named window from its section of the language file. For any
// window but "frmManager", while a library is open, the letter is read again from the settings
// (the library's own value first, then Settings.ini, else "C"). Only the program's localised
// windows are captioned; any other name just resolves the letter. The window is found among the
// loaded forms, shown or not.
void ApplyFormLanguage(const QString& formName);

// A text of the tray menu's section (captions built at run time).
QString GetMenuText(const QString& key);

// A message text in the interface language, or `fallback` (English) when the language file lacks
// it, so that a failure is always explained.
QString GetMessageText(const QString& section, const QString& key, const QString& fallback);

// The caption walk for one form with the current letter: each control that has a caption and an
// entry under its name in the form's section takes that entry (an empty entry blanks it).
void ApplyLanguageTexts(platform::Form& form);

// After a switch of the interface language: the bar's status row in the new language at once, its
// caption from the language file and the progress texts over it, as the bar's start gives them.
// Nothing while the bar is not loaded.
void ApplyStatusRowLanguage();
