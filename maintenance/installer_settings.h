#pragma once
// The installer's settings file CORVELSETUP.ini in the user's profile folder, as the maintenance
// programs meet it: they read the installer's language letter from it (section "GLOBAL", key
// "LANGUAGE") and write their result texts into their own sections.

#include <QString>

namespace installer {

QString SettingsFile();

// The installer's language letter; "Error" when it was never set.
QString ReadLanguage();

// The maintenance programs' texts are Chinese for the letter "C", exactly, and English otherwise.
bool IsChinese(const QString& letter);

}  // namespace installer
