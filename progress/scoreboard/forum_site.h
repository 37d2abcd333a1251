#pragma once
// The web forum that keeps the score board: its address and the fixed names by which the
// posting run finds its way through the forum's pages. Each library has one thread, titled by
// its language pair, a serial and its file name ("AC01::Words.abc"); the thread belongs to an
// account named after the title's first part, whose password is its name.

#include <QString>

namespace scoreboard {

// The forum's root address, ending in "/": Settings.ini section Global key "ForumRoot", or the
// default forum.
QString ForumRoot();

inline const QString kSharedAccount = QStringLiteral("LexScore01");  // searches; password alike
inline const QString kAccountSuffix = QStringLiteral("Lxsb");         // ends every thread account
inline const QString kThreadSerial = QStringLiteral("01");
inline const QString kOperatorAccount = QStringLiteral("LexornOperator");

// Positions of page elements in document order, as the forum lays its pages out.
constexpr int kHeaderUserElement = 29;   // index page: the logged-on user's name
constexpr int kLogOffLinkElement = 31;   // search result page: the log-off link
constexpr int kFirstResultElement = 63;  // search result page: the first result's title
constexpr int kEditLinkBeforeThread = 6; // the edit link stands this far before "ad_thread1_0"
constexpr int kNewThreadLinkAfterMenu = 2;  // the new-thread link after "newspecial_menu"

// The library's thread title: source letter, target letter, serial, "::", the file name.
QString ThreadTitle(const QString& sourceLang, const QString& targetLang, const QString& fileName);
// The account owning a thread whose title begins with `titleHead` (the text before "::").
QString ThreadAccount(const QString& titleHead);

}  // namespace scoreboard
