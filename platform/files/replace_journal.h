#pragma once
// The journal of one replacement of an item's entries (a library, its picture folder, its other
// files), kept in the replacement's private folder. It is written whole and put on disk (the file
// and its folder synced) before the first entry moves, so a start after a kill knows the whole set
// and can finish it or undo it (entry_swap.h). Each entry is named three times: its name in the
// target folder, where its new entry was prepared inside the private folder ("files/<name>" or
// "downloads/<name>"), and the name its old entry is kept under beside the target while it is
// replaced (a temporary name of the kind Keep); with the device and inode of the new entry, which
// tell an exchanged entry from one not yet moved. The last entry is the commit point: once it has
// moved, the set goes forward.
//
// At the next start the journal is outside input (a damaged disk, another program, a learner's
// edit), so its reader holds it to limits: its size, the number of entries, and names that stay
// inside the target folder and the private folder. Every target is the item's own entry (the
// item's name or that name, a dot and more), and every kept name is one this process made for
// that target; a journal that breaks any rule reads as damaged and nothing is done with it.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

struct JournalEntry {
  QString target;    // bare name in the target folder
  QString prepared;  // path inside the private folder: "files/<name>" or "downloads/<name>"
  QString kept;      // bare temporary name (kind Keep) in the target folder
  std::uint64_t device = 0;  // of the new entry, as prepared
  std::uint64_t inode = 0;
  bool operator==(const JournalEntry&) const = default;
};

struct ReplaceJournal {
  QString item;  // the item's name; every target is it or starts with it and a dot
  std::vector<JournalEntry> entries;  // in the order they move; the last is the commit point
  bool operator==(const ReplaceJournal&) const = default;
};

// The journal's file name inside the private folder.
QString ReplaceJournalName();

// The longest journal read, and the most entries it may name.
constexpr qsizetype kLongestJournal = 256 * 1024;
constexpr int kMostJournalEntries = 256;

QByteArray JournalText(const ReplaceJournal& journal);

enum class JournalRead {
  Whole,       // read and valid
  Unfinished,  // cut short while it was written: no entry can have moved
  Damaged,     // anything else: not to be followed
};

// Reads a journal's text; `pid` is the process the private folder belongs to (the one whose
// kept names the journal may give). *journal is set when Whole.
JournalRead ParseJournal(const QByteArray& text, long long pid, ReplaceJournal* journal);

// Writes the journal into `privateFolder` (ending in "/") and puts it on disk with its folder and
// the folder above;
// false with the system's error number in *error (a full disk refuses it here, before any move).
bool WriteJournal(const QString& privateFolder, const ReplaceJournal& journal, int* error);

}  // namespace platform
