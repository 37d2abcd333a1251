// Arbitrary bytes as the journal a start finds in a dead process's private folder. A journal
// that reads as whole must name only the item's own entries and places inside the two folders,
// which writing it again and reading it back shows: the text it gives reads back to the same
// journal.

#include "platform/files/replace_journal.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  constexpr long long kPid = 4242;
  platform::ReplaceJournal journal;
  if (platform::ParseJournal(text, kPid, &journal) != platform::JournalRead::Whole) return 0;
  if (journal.entries.empty() || std::ssize(journal.entries) > platform::kMostJournalEntries) std::abort();
  for (const platform::JournalEntry& entry : journal.entries) {
    if (entry.target.contains('/') || entry.kept.contains('/') || entry.prepared.count('/') != 1) std::abort();
    if (entry.target != journal.item && !entry.target.startsWith(journal.item + '.')) std::abort();
  }
  platform::ReplaceJournal again;
  if (platform::ParseJournal(platform::JournalText(journal), kPid, &again) != platform::JournalRead::Whole) std::abort();
  if (!(again == journal)) std::abort();
  return 0;
}
