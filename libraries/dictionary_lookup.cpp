#include "libraries/dictionary_lookup.h"

#include "core/system_utils_bas.h"
#include "platform/wordcapture/word_grabber.h"

#include <QDir>
#include <QFileInfo>

#include <limits>

namespace {

const QString kSection = QStringLiteral("ALL");
const QString kMissing = QStringLiteral("Error");
// Meanings are read whole: the pop-up breaks long ones into rows itself.
constexpr int kWholeValue = std::numeric_limits<int>::max();

QString ReadMeaning(const QString& file, const QString& word) { return ReadIniUnicode(file, kSection, word, kWholeValue); }

}  // namespace

bool DirExists(const QString& DirName) { return !DirName.isEmpty() && QFileInfo(DirName).isDir(); }

int GetFileCount(const QString& strFolder) {
  const QDir folder(strFolder);
  if (!folder.exists()) return 0;
  return static_cast<int>(folder.entryList(QDir::Files | QDir::Hidden | QDir::System).size());
}

QString DictionaryFolder(const QString& libraryFolder, const QString& libraryName) {
  return libraryFolder + libraryName + QStringLiteral(".dic");
}

QString LookUpMeaning(const QString& libraryFolder, const QString& libraryName, const QString& word) {
  const QString dictionaryFolder = DictionaryFolder(libraryFolder, libraryName);
  QString result = kMissing;
  if (DirExists(dictionaryFolder)) {
    const int files = GetFileCount(dictionaryFolder);
    for (int k = 1; k <= files && result == kMissing; ++k) {
      result = ReadMeaning(dictionaryFolder + QLatin1Char('/') + libraryName + QLatin1Char('_') + QString::number(k) +
                               QStringLiteral(".dic"),
                           word);
    }
  } else {
    result = ReadMeaning(libraryFolder + libraryName + QStringLiteral(".abc"), word);
  }
  return (result == kMissing || result.isEmpty()) ? kMeaningNotFound : result;
}

SelectionMeaning LookUpSelection(const QString& libraryFolder, const QString& libraryName, const QString& selection) {
  const QString whole = selection.trimmed();
  if (!whole.isEmpty() && whole.size() <= platform::kMaxCapturedWordLength) {
    const QString meaning = LookUpMeaning(libraryFolder, libraryName, whole);
    if (meaning != kMeaningNotFound) return {whole, meaning};
  }
  const QString word = platform::FirstWordOf(selection).word;
  if (word.isEmpty() || word == whole) return {whole, kMeaningNotFound};
  return {word, LookUpMeaning(libraryFolder, libraryName, word)};
}
