#include "libraries/stale_download_files.h"

#include "libraries/library_list.h"
#include "libraries/web_catalogue.h"
#include "platform/app/folders.h"
#include "platform/files/own_temporary_names.h"
#include "platform/ini/ini.h"

#include <QSet>
#include <QStringList>

int RemoveStaleDownloadFiles() {
  QStringList folders{platform::ProgramFolder(), platform::ProfileFolder(), ProposedLibraryFolder()};
  const platform::ProfileSnapshot list(TopicListFile());
  for (const QString& section : list.sectionNames()) {
    folders << LibraryFolderFromStored(list.read(section, QStringLiteral("@"), QStringLiteral("Error")));
  }
  folders.removeDuplicates();
  return platform::RemoveStaleTemporaryFiles(folders);
}
