#include "libraries/stale_download_files.h"

#include "libraries/library_list.h"
#include "libraries/web_catalogue.h"
#include "platform/app/folders.h"
#include "platform/files/own_temporary_names.h"
#include "platform/ini/ini.h"

#include <QMap>
#include <QStringList>

#include <vector>

namespace {

using platform::TemporaryKind;
using platform::TemporaryName;

bool IsPrivateFolder(const TemporaryName& name) { return name.kind == TemporaryKind::Unpack; }

// The libraries TopicList.ini lists, by folder.
QMap<QString, QStringList> ListedLibrariesByFolder() {
  QMap<QString, QStringList> libraries;
  const platform::ProfileSnapshot list(TopicListFile());
  for (const QString& section : list.sectionNames()) {
    const QString folder = LibraryFolderFromStored(list.read(section, QStringLiteral("@"), QStringLiteral("Error")));
    const QString name = LibraryNameOfSection(section);
    if (!folder.isEmpty() && !name.isEmpty()) libraries[folder].append(name);
  }
  return libraries;
}

}  // namespace

int RemoveStaleDownloadFiles() {
  std::vector<platform::TemporaryScope> scopes{
      {platform::ProgramFolder(), [](const TemporaryName&) { return true; }},
      {platform::ProfileFolder(), [](const TemporaryName&) { return true; }},
      {ProposedLibraryFolder(), IsPrivateFolder},
  };
  const QMap<QString, QStringList> libraries = ListedLibrariesByFolder();
  for (auto folder = libraries.begin(); folder != libraries.end(); ++folder) {
    scopes.push_back({folder.key(), [names = folder.value()](const TemporaryName& name) {
                        if (IsPrivateFolder(name)) return true;
                        for (const QString& library : names) {
                          if (name.baseName.startsWith(library + QLatin1Char('.'))) return true;
                        }
                        return false;
                      }});
  }
  return platform::RemoveStaleTemporaryFiles(scopes);
}
