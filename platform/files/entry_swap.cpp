#include "platform/files/entry_swap.h"

#include "platform/files/disk_sync.h"
#include "platform/files/own_temporary_names.h"
#include "platform/files/replace_journal.h"
#include "platform/files/safe_read.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::function<bool(MoveCall)>& Seam() {
  static std::function<bool(MoveCall)> seam;
  return seam;
}

bool Allowed(MoveCall call, int refusal) {
  if (!Seam() || Seam()(call)) return true;
  errno = refusal;
  return false;
}

bool CallExchange(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Exchange, EINVAL) &&
         ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0;
}
bool CallRenameNoReplace(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Rename, EIO) &&
         ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0;
}
bool CallLink(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Link, EPERM) && ::link(from.constData(), to.constData()) == 0;
}
bool CallRename(const QByteArray& from, const QByteArray& to) {
  return Allowed(MoveCall::Rename, EIO) && ::rename(from.constData(), to.constData()) == 0;
}
bool CallRemove(const QByteArray& path, bool folder) {
  if (!folder) return Allowed(MoveCall::Unlink, EIO) && ::unlink(path.constData()) == 0;
  if (!Allowed(MoveCall::RemoveFolder, EIO)) return false;
  std::error_code error;
  std::filesystem::remove_all(std::filesystem::path(path.toStdString()), error);
  return !error;
}

bool Unsupported(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }
// A file system that has no hard links (FAT, some network file systems) or refuses this one.
bool NoHardLink(int error) { return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK; }

void SetReason(QString* reason, const QString& text) {
  if (reason != nullptr) *reason = text;
}

bool Exists(const QByteArray& path, struct stat* info = nullptr) {
  struct stat ignored {};
  return ::lstat(path.constData(), info != nullptr ? info : &ignored) == 0;
}

// Renames without replacing anything; file systems without that guarantee get a plain rename
// after a check (the folder is the program's own, so nothing else puts an entry there meanwhile).
bool RenameNew(const QByteArray& from, const QByteArray& to) {
  if (CallRenameNoReplace(from, to)) return true;
  if (!Unsupported(errno)) return false;
  if (Exists(to)) {
    errno = EEXIST;
    return false;
  }
  return CallRename(from, to);
}

QString Folder(const QString& path) { return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'); }
QString ParentFolder(const QString& privateFolder) {
  return QFileInfo(Folder(privateFolder).chopped(1)).absolutePath() + QLatin1Char('/');
}

// One entry's three places, as the system names them.
struct Places {
  QByteArray target;
  QByteArray prepared;
  QByteArray kept;
  std::uint64_t device;
  std::uint64_t inode;
};

Places PlacesOf(const QString& privateFolder, const JournalEntry& entry) {
  const QString target = ParentFolder(privateFolder);
  return {QFile::encodeName(target + entry.target), QFile::encodeName(Folder(privateFolder) + entry.prepared),
          QFile::encodeName(target + entry.kept), entry.device, entry.inode};
}

// Where an entry stands, read from the disk alone. Only the way without the exchange makes the
// kept name, and only a move takes the prepared entry away (an exchange leaves the old one there,
// which the target's inode tells apart).
enum class State {
  NotMoved,      // the target holds its old entry (or nothing), the new one is prepared
  KeptAside,     // the old entry is kept beside the target (and may still hold it, by a link)
  MovedOldKept,  // the target holds the new entry, the old one is kept beside it
  Exchanged,     // the target holds the new entry, the old one is where the new one was prepared
  Moved,         // the target holds the new entry, and no old entry is left
};

State StateOf(const Places& places) {
  const bool kept = Exists(places.kept);
  const bool prepared = Exists(places.prepared);
  if (kept) return prepared ? State::KeptAside : State::MovedOldKept;
  if (!prepared) return State::Moved;
  struct stat target {};
  if (Exists(places.target, &target) && target.st_dev == places.device && target.st_ino == places.inode) {
    return State::Exchanged;
  }
  return State::NotMoved;
}

bool IsFolder(const QByteArray& path) {
  struct stat info {};
  return Exists(path, &info) && S_ISDIR(info.st_mode);
}

// One step towards the new entry.
bool StepForward(const Places& places, State state) {
  switch (state) {
    case State::NotMoved: {
      struct stat fresh {};
      struct stat old {};
      if (!Exists(places.prepared, &fresh)) return false;
      if (!Exists(places.target, &old)) return errno == ENOENT && RenameNew(places.prepared, places.target);
      if (S_ISDIR(old.st_mode) != S_ISDIR(fresh.st_mode)) {
        errno = S_ISDIR(old.st_mode) ? EISDIR : ENOTDIR;
        return false;
      }
      if (CallExchange(places.prepared, places.target)) return true;
      if (!Unsupported(errno)) return false;
      // A file keeps its name while a second name holds the old content; a folder cannot be
      // linked and is renamed aside.
      if (!S_ISDIR(fresh.st_mode)) {
        if (CallLink(places.target, places.kept)) return true;
        if (!NoHardLink(errno)) return false;
      }
      return RenameNew(places.target, places.kept);
    }
    case State::KeptAside: return CallRename(places.prepared, places.target);
    case State::MovedOldKept: return CallRemove(places.kept, IsFolder(places.kept));
    case State::Exchanged:
    case State::Moved: return true;
  }
  return false;
}

// One step back towards the old entry.
bool StepBack(const Places& places, State state) {
  switch (state) {
    case State::Exchanged: return CallExchange(places.prepared, places.target);
    case State::Moved:
    case State::MovedOldKept: return RenameNew(places.target, places.prepared);
    case State::KeptAside: {
      struct stat target {};
      struct stat kept {};
      if (!Exists(places.target, &target)) return errno == ENOENT && RenameNew(places.kept, places.target);
      // The target still holds the old file by its second name: the kept name goes.
      if (Exists(places.kept, &kept) && kept.st_dev == target.st_dev && kept.st_ino == target.st_ino) {
        return CallRemove(places.kept, false);
      }
      errno = EEXIST;
      return false;
    }
    case State::NotMoved: return true;
  }
  return false;
}

// Steps one entry until it stands where `done` says; false when the file system refused a step.
template <typename Step, typename Done>
bool Advance(const Places& places, Step step, Done done) {
  for (int steps = 0; steps < 4; ++steps) {
    const State state = StateOf(places);
    if (done(state)) return true;
    if (!step(places, state)) return false;
  }
  return false;
}

bool IsNew(State state) { return state == State::Exchanged || state == State::Moved; }
bool InPlace(State state) { return IsNew(state) || state == State::MovedOldKept; }

bool Forward(const QString& privateFolder, const JournalEntry& entry) {
  return Advance(PlacesOf(privateFolder, entry), StepForward, IsNew);
}

bool Back(const QString& privateFolder, const JournalEntry& entry) {
  const Places places = PlacesOf(privateFolder, entry);
  // Nothing at the target and nothing prepared: there is no entry to put back.
  const auto done = [&places](State state) {
    return state == State::NotMoved || (state == State::Moved && !Exists(places.target));
  };
  return Advance(places, StepBack, done);
}

// The moves are on disk before the journal that could undo them goes.
bool RemoveJournal(const QString& privateFolder) {
  SyncFolderToDisk(ParentFolder(privateFolder));
  return Allowed(MoveCall::RemoveJournal, EIO) &&
         ::unlink(QFile::encodeName(Folder(privateFolder) + ReplaceJournalName()).constData()) == 0;
}

bool RollBackAll(const QString& privateFolder, const ReplaceJournal& journal) {
  bool whole = true;
  for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
    whole = Back(privateFolder, *entry) && whole;
  }
  return whole && RemoveJournal(privateFolder);
}

bool RollForwardAll(const QString& privateFolder, const ReplaceJournal& journal) {
  bool whole = true;
  for (const JournalEntry& entry : journal.entries) whole = Forward(privateFolder, entry) && whole;
  return whole && RemoveJournal(privateFolder);
}

std::optional<ReplaceJournal> ReadJournal(const QString& privateFolder, long long pid, bool* unfinished) {
  const QString path = Folder(privateFolder) + ReplaceJournalName();
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size > kLongestJournal) {
    return std::nullopt;
  }
  QByteArray text;
  if (ReadRegularFile(path, text) != ReadStatus::Ok) return std::nullopt;
  ReplaceJournal journal;
  const JournalRead read = ParseJournal(text, pid, &journal);
  *unfinished = read == JournalRead::Unfinished;
  if (read != JournalRead::Whole) return std::nullopt;
  return journal;
}

}  // namespace

void SetMoveCallSeamForTesting(std::function<bool(MoveCall)> seam) { Seam() = std::move(seam); }

EntrySwap::EntrySwap(QString privateFolder, QString item)
    : privateFolder_(Folder(privateFolder)), item_(std::move(item)) {}

EntrySwap::~EntrySwap() { rollback(); }

bool EntrySwap::move(const std::vector<std::pair<QString, QString>>& preparedAndTarget, QString* reason) {
  const QString targetFolder = ParentFolder(privateFolder_);
  journal_ = {item_, {}};
  for (const auto& [prepared, target] : preparedAndTarget) {
    struct stat fresh {};
    struct stat old {};
    if (!prepared.startsWith(privateFolder_) || !Exists(QFile::encodeName(prepared), &fresh)) {
      SetReason(reason, SystemErrorText(ENOENT));
      return false;
    }
    const QByteArray targetName = QFile::encodeName(targetFolder + target);
    if (Exists(targetName, &old) && S_ISDIR(old.st_mode) != S_ISDIR(fresh.st_mode)) {
      SetReason(reason, SystemErrorText(S_ISDIR(old.st_mode) ? EISDIR : ENOTDIR));
      return false;
    }
    QString kept;
    do {
      kept = NewTemporaryName(target, TemporaryKind::Keep);
    } while (Exists(QFile::encodeName(targetFolder + kept)));
    journal_.entries.push_back({target, prepared.mid(privateFolder_.size()), kept, static_cast<std::uint64_t>(fresh.st_dev),
                                static_cast<std::uint64_t>(fresh.st_ino)});
  }
  // What the next start could not follow is not begun.
  if (ParseJournal(JournalText(journal_), ::getpid(), nullptr) != JournalRead::Whole) {
    SetReason(reason, SystemErrorText(EINVAL));
    return false;
  }
  int error = 0;
  if (!Allowed(MoveCall::WriteJournal, EIO)) error = errno;
  if (error != 0 || !WriteJournal(privateFolder_, journal_, &error)) {
    SetReason(reason, SystemErrorText(error));
    return false;
  }
  journalWritten_ = true;
  for (const JournalEntry& entry : journal_.entries) {
    if (Advance(PlacesOf(privateFolder_, entry), StepForward, InPlace)) continue;
    error = errno;
    rollback();
    SetReason(reason, SystemErrorText(error));
    return false;
  }
  return true;
}

bool EntrySwap::rollback() {
  if (!journalWritten_) return true;
  journalWritten_ = false;
  // What could not be undone here stays in the journal for the next start.
  return RollBackAll(privateFolder_, journal_);
}

void EntrySwap::finish() {
  if (!journalWritten_) return;
  journalWritten_ = false;
  static_cast<void>(RollForwardAll(privateFolder_, journal_));
}

bool RecoverEntrySwap(const QString& privateFolder, long long pid) {
  const QString journalPath = Folder(privateFolder) + ReplaceJournalName();
  if (!Exists(QFile::encodeName(journalPath))) return true;
  bool unfinished = false;
  const std::optional<ReplaceJournal> journal = ReadJournal(privateFolder, pid, &unfinished);
  if (!journal) return unfinished;  // a journal cut short: written before any move
  const Places commit = PlacesOf(privateFolder, journal->entries.back());
  return InPlace(StateOf(commit)) ? RollForwardAll(privateFolder, *journal) : RollBackAll(privateFolder, *journal);
}

}  // namespace platform
