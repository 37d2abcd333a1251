#include "platform/files/replace_journal.h"

#include "platform/files/disk_sync.h"
#include "platform/files/file_descriptor.h"
#include "platform/files/own_temporary_names.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

const QByteArray kHeader = "lexorn2-replace 1";
const QByteArray kEnd = "end";
constexpr qsizetype kLongestName = 255;
const QByteArray kPreparedFolders[] = {"files/", "downloads/"};

// Fields are percent-encoded, so any name (tabs and line ends included) stays one field.
QByteArray Field(const QString& text) { return text.toUtf8().toPercentEncoding(); }

std::optional<QString> FromField(const QByteArray& field) {
  const QByteArray bytes = QByteArray::fromPercentEncoding(field);
  const QString text = QString::fromUtf8(bytes);
  if (text.toUtf8() != bytes) return std::nullopt;  // not UTF-8
  return text;
}

bool IsBareName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)) && name.toUtf8().size() <= kLongestName;
}

std::optional<std::uint64_t> Number(const QByteArray& field) {
  if (field.isEmpty() || field.size() > 20) return std::nullopt;
  for (const char digit : field) {
    if (digit < '0' || digit > '9') return std::nullopt;
  }
  bool ok = false;
  const qulonglong value = field.toULongLong(&ok);
  return ok ? std::optional<std::uint64_t>(value) : std::nullopt;
}

bool IsPreparedPath(const QString& path) {
  for (const QByteArray& folder : kPreparedFolders) {
    const QString prefix = QString::fromLatin1(folder);
    if (path.startsWith(prefix)) return IsBareName(path.mid(prefix.size()));
  }
  return false;
}

bool IsKeptNameFor(const QString& kept, const QString& target, long long pid) {
  if (!IsBareName(kept)) return false;
  const std::optional<TemporaryName> name = ParseTemporaryName(kept);
  return name && name->kind == TemporaryKind::Keep && name->pid == pid && name->standsFor(target);
}

std::optional<JournalEntry> ParseEntry(const QList<QByteArray>& fields, const QString& item, long long pid) {
  if (fields.size() != 6) return std::nullopt;
  const std::optional<QString> target = FromField(fields[1]);
  const std::optional<QString> prepared = FromField(fields[2]);
  const std::optional<QString> kept = FromField(fields[3]);
  const std::optional<std::uint64_t> device = Number(fields[4]);
  const std::optional<std::uint64_t> inode = Number(fields[5]);
  if (!target || !prepared || !kept || !device || !inode) return std::nullopt;
  if (!IsBareName(*target) || (*target != item && !target->startsWith(item + QLatin1Char('.')))) return std::nullopt;
  if (!IsPreparedPath(*prepared) || !IsKeptNameFor(*kept, *target, pid)) return std::nullopt;
  return JournalEntry{*target, *prepared, *kept, *device, *inode};
}

}  // namespace

QString ReplaceJournalName() { return QStringLiteral("journal"); }

QByteArray JournalText(const ReplaceJournal& journal) {
  QByteArray text = kHeader + "\nitem\t" + Field(journal.item) + '\n';
  for (const JournalEntry& entry : journal.entries) {
    text += "entry\t" + Field(entry.target) + '\t' + Field(entry.prepared) + '\t' + Field(entry.kept) + '\t' +
            QByteArray::number(static_cast<qulonglong>(entry.device)) + '\t' +
            QByteArray::number(static_cast<qulonglong>(entry.inode)) + '\n';
  }
  return text + kEnd + '\n';
}

JournalRead ParseJournal(const QByteArray& text, long long pid, ReplaceJournal* journal) {
  if (text.size() > kLongestJournal) return JournalRead::Damaged;
  QList<QByteArray> lines = text.split('\n');
  const QByteArray cut = lines.takeLast();  // what follows the last line end: empty when whole
  const bool ended = cut.isEmpty() && !lines.isEmpty() && lines.last() == kEnd;
  if (ended) lines.removeLast();
  // A journal cut short while it was written is a true start of one: every line it finished is
  // valid (checked below), and a first line cut short is the start of the header.
  if (lines.isEmpty()) return !ended && kHeader.startsWith(cut) ? JournalRead::Unfinished : JournalRead::Damaged;
  if (lines.first() != kHeader) return JournalRead::Damaged;
  ReplaceJournal read;
  QSet<QString> names;  // targets, prepared paths and kept names never repeat
  for (qsizetype at = 1; at < lines.size(); ++at) {
    const QList<QByteArray> fields = lines[at].split('\t');
    if (at == 1) {
      const std::optional<QString> item = fields.size() == 2 && fields[0] == "item" ? FromField(fields[1]) : std::nullopt;
      if (!item || !IsBareName(*item)) return JournalRead::Damaged;
      read.item = *item;
      continue;
    }
    if (fields.first() != "entry" || std::ssize(read.entries) >= kMostJournalEntries) return JournalRead::Damaged;
    const std::optional<JournalEntry> entry = ParseEntry(fields, read.item, pid);
    if (!entry) return JournalRead::Damaged;
    for (const QString& name : {entry->target, entry->prepared, entry->kept}) {
      if (names.contains(name)) return JournalRead::Damaged;
      names.insert(name);
    }
    read.entries.push_back(*entry);
  }
  if (!ended) return JournalRead::Unfinished;
  if (read.entries.empty()) return JournalRead::Damaged;
  if (journal != nullptr) *journal = std::move(read);
  return JournalRead::Whole;
}

bool WriteJournal(const QString& privateFolder, const ReplaceJournal& journal, int* error) {
  const QByteArray path = QFile::encodeName(privateFolder + ReplaceJournalName());
  FileDescriptor file(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600));
  if (!file.valid()) {
    *error = errno;
    return false;
  }
  const auto fail = [&](int code) {
    *error = code;
    ::unlink(path.constData());
    return false;
  };
  int written = 0;
  if (!WriteAll(file.get(), JournalText(journal), written)) return fail(written);
  if (::fsync(file.get()) != 0 || !file.close()) return fail(errno);
  // The journal's name, and the private folder's own name in the target folder, are on disk
  // before any entry moves out of it.
  SyncFolderToDisk(privateFolder);
  SyncFolderToDisk(QFileInfo(privateFolder + QStringLiteral("..")).absoluteFilePath());
  return true;
}

}  // namespace platform
