#include "libraries/library_list.h"

#include "core/do_loading_bas.h"
#include "core/system_utils_bas.h"
#include "platform/app/folders.h"
#include "platform/ini/ini.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kFolderKey = QStringLiteral("@");
const QString kDictionaryKey = QStringLiteral("#");
const QString kMissing = QStringLiteral("Error");
const QString kExtension = QStringLiteral(".abc");

bool IsSet(const QString& value) { return !value.isEmpty() && value != kMissing; }

bool IsRegularFile(const QString& path) { return QFileInfo(path).isFile(); }

QString ReadTopicValue(const QString& section, const QString& key) {
  return platform::ReadProfileString(TopicListFile(), section, key, kMissing);
}

bool WriteTopicValue(const QString& section, const QString& key, const QString& value) {
  return platform::WriteProfileString(TopicListFile(), section, key, value) != 0;
}

}  // namespace

QString TopicListFile() { return platform::ProgramFolder() + QStringLiteral("TopicList.ini"); }

QString LibrarySectionName(const QString& code, const QString& name) { return code + QLatin1Char(':') + name; }

QString LibraryNameOfSection(const QString& section) {
  const qsizetype colon = section.indexOf(QLatin1Char(':'));
  return colon < 0 ? section : section.mid(colon + 1);
}

std::optional<QString> LibraryNameOfFile(const QString& path) {
  const QString fileName = GetFileNamePart(path);
  if (fileName.size() <= kExtension.size() || !fileName.endsWith(kExtension, Qt::CaseInsensitive)) return std::nullopt;
  return fileName.chopped(kExtension.size());
}

std::optional<QString> FindLibraryFile(const QString& folder, const QString& name) {
  if (folder.isEmpty() || name.isEmpty()) return std::nullopt;
  // The eight letter cases of "abc": a stat each, no folder listing, so a long list stays quick.
  for (int variant = 0; variant < 8; ++variant) {
    QString extension = kExtension;
    for (int letter = 0; letter < 3; ++letter) {
      if (variant & (1 << letter)) extension[letter + 1] = extension[letter + 1].toUpper();
    }
    const QString path = folder + name + extension;
    if (IsRegularFile(path)) return path;
  }
  return std::nullopt;
}

QString LibraryFolderFromStored(const QString& stored) {
  if (!IsSet(stored) || stored == kDeletedLibraryFolder) return {};
  QString folder = stored;
  folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  if (QDir::isRelativePath(folder)) folder = platform::ProgramFolder() + folder;
  return folder;
}

LibraryList::LibraryList() : snapshot_(std::make_unique<platform::ProfileSnapshot>(TopicListFile())) {}
LibraryList::~LibraryList() = default;

const QStringList& LibraryList::sections() const { return snapshot_->sectionNames(); }

bool LibraryList::libraryExists(const QString& section) const {
  const QString folder = LibraryFolderFromStored(snapshot_->read(section, kFolderKey, kMissing));
  return FindLibraryFile(folder, LibraryNameOfSection(section)).has_value();
}

bool InCategory(const QString& section, const QString& filterLetter) {
  return filterLetter == QLatin1String("X") || (!section.isEmpty() && section.startsWith(filterLetter));
}

QString ReadLibraryFolder(const QString& section) {
  return LibraryFolderFromStored(ReadTopicValue(section, kFolderKey));
}

bool ReadDictionaryFlag(const QString& section) { return IsSet(ReadTopicValue(section, kDictionaryKey)); }

std::optional<AddedLibrary> AddLibraryEntry(const QString& path) {
  const std::optional<QString> name = LibraryNameOfFile(path);
  if (!name) return std::nullopt;
  AddedLibrary added;
  added.section = LibrarySectionName(ReadLibraryHeader(path), *name);
  added.folder = GetFolderPart(path);
  added.dictionary = LibraryHasHashAfterHeader(path);
  if (!WriteTopicValue(added.section, kFolderKey, added.folder)) return std::nullopt;
  if (added.dictionary) {
    if (!WriteTopicValue(added.section, kDictionaryKey, QStringLiteral("X"))) return std::nullopt;
  } else if (ReadDictionaryFlag(added.section)) {
    if (!WriteTopicValue(added.section, kDictionaryKey, QString())) return std::nullopt;
  }
  return added;
}

bool RegisterDownloadedLibrary(const QString& folder, const QString& code, const QString& name) {
  return WriteTopicValue(LibrarySectionName(code, name), kFolderKey, folder);
}

bool MarkLibraryDeleted(const QString& section) { return WriteTopicValue(section, kFolderKey, kDeletedLibraryFolder); }
