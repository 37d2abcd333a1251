#pragma once
// The server list: the INI-format catalogue the server publishes, stored by the program as
// WebLibraryDownload2.ini (and by the updaters as ServerUpdate2.ini). Section [ALL] gives each
// category's item count under its key ("AC" ... "SC"); each category's section numbers its items
// from 01: FROM_FILENAMEnn (name in the web folder), TO_FILENAMEnn (name to create),
// FILENAMEnn_BUILD_TIME ("yyyymmdd_hh:mm:ss"), DESC_<language letter>nn, PRICE_nn ("FREE" or a
// price), and one VOLUMN (parts of a multi-part set) for the whole section. Missing keys read
// as "Error". Free of window code: the maintenance programs use the same key scheme.

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

// The catalogue's categories in their order (letters of the library languages).
inline constexpr char16_t kCatalogueLetters[] = u"ABCDFGIJKPRS";
inline constexpr int kCatalogueCategoryCount = 12;
// Items a category can hold in the catalogue's tables.
inline constexpr int kMaxCatalogueItems = 99;

inline constexpr char16_t kCatalogueFileName[] = u"WebLibraryDownload2.ini";

// The largest server list the program fetches or reads: a list of thousands of items stays far
// below it, and a server that sends more is refused.
inline constexpr std::int64_t kServerListLimit = std::int64_t{16} << 20;  // 16 MiB

namespace platform {
class ProfileSnapshot;
}

// True when the list file is no larger than kServerListLimit (a missing file fits).
bool ServerListFitsLimit(const QString& listFile);

// The leading decimal number of a text ("12x" gives 12, "abc" 0, "Error" 0).
int LeadingNumber(const QString& text);

// An item number as the keys write it: at least two digits ("01", "12", "100").
QString ItemNumberText(int item);

// The section key of category n (1-based): its letter followed by "C".
QString CategoryKey(int category);

// The raw [ALL] value of a category key ("Error" when missing).
QString ReadCategoryCount(const QString& listFile, const QString& categoryKey);
QString ReadCategoryCount(const platform::ProfileSnapshot& list, const QString& categoryKey);

struct ServerListItem {
  QString fromFileName;  // FROM_FILENAMEnn
  QString toFileName;    // TO_FILENAMEnn ("Error" when missing)
  QString description;   // DESC_<letter>nn ("Error" when missing)
  QString buildTime;     // FILENAMEnn_BUILD_TIME ("Error" when missing)
  QString price;         // PRICE_nn ("Error" when missing: priced)
  int parts = 1;         // VOLUMN of the section; 1 when missing or empty
};

// Item `item` of the section, or nothing when it has no FROM_FILENAME (it gets no row).
// `language` is the installer's language letter (or "Error"), which picks the description key.
std::optional<ServerListItem> ReadServerListItem(const QString& listFile, const QString& section, int item,
                                                 const QString& language);
// The same from the list read once (the catalogue reads its file once per opening).
std::optional<ServerListItem> ReadServerListItem(const platform::ProfileSnapshot& list, const QString& section,
                                                 int item, const QString& language);

// Only "FREE", exactly, is free.
bool IsFreeItem(const ServerListItem& item);

// True when a TO_FILENAME is a bare file name that stays inside the target folder: not empty,
// not "." or "..", no "/" or "\\", no drive letter ("C:"), no NUL. Dots elsewhere ("a..b.abc")
// are fine.
bool IsBareFileName(const QString& name);

// A time in the build-time form "yyyymmdd_hh:mm:ss", local time.
QString BuildTimeText(const QDateTime& time);

// True when the local file exists and its modification time, written in the build-time form, is
// later than the build time compared as text. Equal texts, a missing file or an unreadable
// build time ("Error") are never current.
bool IsAlreadyNew(const QString& buildTime, const QString& localFile);
