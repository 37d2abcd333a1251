#include "maintenance/Vendrix2/Module1.h"

#include "maintenance/installer_settings.h"
#include "platform/filetype/filetype.h"
#include "platform/ini/ini.h"

#include <cstdio>

namespace Module1 {
namespace {

const QString kMainProgram = QStringLiteral("Corvel'sLexorn2");

// A library file starts with the UTF-16LE byte-order mark and "{": that tells it apart from the
// music notation files that share the .abc name pattern.
const QByteArray kLibraryMagic = QByteArray::fromHex("fffe7b00");

platform::FileTypeRegistration LibraryFileType(const QString& programFolder) {
  return {
      .mimeType = QStringLiteral("application/x-corvels-lexorn-library"),
      .comment = QStringLiteral("Word library"),
      .globPattern = QStringLiteral("*.abc"),
      .magic = kLibraryMagic,
      .desktopId = QStringLiteral("corvels-lexorn2.desktop"),
      .applicationName = QStringLiteral("Corvel's Lexorn 2"),
      .programPath = programFolder + kMainProgram,
  };
}

}  // namespace

QString LinkResultText(const QString& languageLetter, const QString& failure) {
  const bool chinese = installer::IsChinese(languageLetter);
  if (failure.isEmpty()) {
    return chinese ? QStringLiteral("扩展名 .abc 已经被关联到 Corvel'sLexorn2.exe!")
                   : QStringLiteral(".abc has been linked to Corvel'sLexorn2.exe!");
  }
  return chinese ? QStringLiteral("扩展名 .abc 未能关联到 Corvel'sLexorn2：%1").arg(failure)
                 : QStringLiteral(".abc could not be linked to Corvel'sLexorn2: %1").arg(failure);
}

int Main(const QString& programFolder) {
  const platform::FileTypeResult registered =
      platform::RegisterFileType(LibraryFileType(programFolder));
  const QString result = LinkResultText(installer::ReadLanguage(), registered.failure);
  const bool written = platform::WriteProfileString(installer::SettingsFile(), QStringLiteral("VENDRIX"),
                                                    QStringLiteral("LINKRESULT"), result) != 0;
  // Started from a terminal, the result is shown there too.
  std::fputs(result.toUtf8().append('\n').constData(), stdout);
  if (!written) std::fputs(QStringLiteral("%1 could not be written\n").arg(installer::SettingsFile()).toUtf8().constData(), stderr);
  std::fflush(stdout);
  return registered.ok && written ? 0 : 1;
}

}  // namespace Module1
