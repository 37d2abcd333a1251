// Arbitrary bytes as the update list: every item of both updaters' passes is read as the update
// run reads it, its target put through the update policy and its due rule judged against a
// program folder that holds some files. Whatever the server sends, no item may name a file
// outside the folder or one of the learner's files, a missing file must always be due, only
// https or loopback addresses may pass, and an address goes out as a valid escaped address.

#include "libraries/ServerListFile.h"
#include "maintenance/Tolbrand2/Tolbrand2_run.h"
#include "maintenance/Zembrol2/Zembrol2_run.h"
#include "maintenance/updater/update_outcome.h"
#include "maintenance/updater/update_policy.h"
#include "maintenance/updater/update_rules.h"
#include "platform/download/download_address.h"
#include "platform/ini/ini.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A program folder with an installed file, a learner's file and the list.
const QString& ProgramFolder() {
  static QTemporaryDir folder;  // removed at exit
  static const QString path = [] {
    if (!folder.isValid()) std::abort();
    const QString base = folder.path() + QLatin1Char('/');
    for (const char* name : {"Present.dat", "TopicList.ini"}) {
      QFile file(base + QString::fromLatin1(name));
      if (!file.open(QIODevice::WriteOnly)) std::abort();
      file.write("installed");
    }
    return base;
  }();
  return path;
}

void CheckAddress(const QString& address) {
  if (!IsAcceptedUpdateAddress(address)) return;
  const QUrl url(address, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  const bool loopback = url.host().startsWith(QStringLiteral("127.")) || url.host() == QStringLiteral("::1");
  if (scheme != QStringLiteral("https") && !(scheme == QStringLiteral("http") && loopback)) std::abort();
  // As sent: printable ASCII without blanks or "#", and every "%" begins an escape.
  const QByteArray sent = platform::EncodedDownloadAddress(address);
  for (qsizetype i = 0; i < sent.size(); ++i) {
    const char c = sent[i];
    if (c <= ' ' || c > '~' || c == '#') std::abort();
    if (c == '%' && (i + 2 >= sent.size() || !std::isxdigit(static_cast<unsigned char>(sent[i + 1])) ||
                     !std::isxdigit(static_cast<unsigned char>(sent[i + 2]))))
      std::abort();
  }
}

void CheckPass(const UpdatePass& pass, const QString& list, UpdateOutcome& outcome) {
  for (int number = pass.firstItem; number <= pass.lastItem; ++number) {
    const auto item = ReadServerListItem(list, pass.section, number, QStringLiteral("C"));
    if (!item) continue;
    const auto refusal = UpdateTargetRefusal(item->toFileName);
    if (refusal) {
      outcome.failures.push_back({item->toFileName, *refusal});
      continue;
    }
    const QString& name = item->toFileName;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name == QStringLiteral("..") ||
        IsLearnersFile(name)) {
      std::abort();
    }
    const QString local = ProgramFolder() + name;
    if (!QFileInfo::exists(local) && !IsUpdateDue(item->buildTime, local)) std::abort();
    const QString base = pass.fromPathSection.isEmpty()
                             ? QString()
                             : platform::ReadProfileString(list, pass.fromPathSection,
                                                           QStringLiteral("FROM_PATH") + ItemNumberText(number),
                                                           QStringLiteral("Error"));
    CheckAddress(base + item->fromFileName);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString list = ProgramFolder() + QStringLiteral("ServerUpdate2.ini");
  {
    QFile file(list);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  UpdateOutcome outcome;
  outcome.listFetched = true;
  for (const UpdateRunParameters& run : {Tolbrand2Run(QStringLiteral("C")), Zembrol2Run(QStringLiteral("C"))}) {
    for (const UpdatePass& pass : run.passes) CheckPass(pass, list, outcome);
  }
  // The result names every refused item, whatever its name holds.
  if (!outcome.failures.empty() && UpdateResultText(QStringLiteral("A"), outcome).isEmpty()) std::abort();
  return 0;
}
