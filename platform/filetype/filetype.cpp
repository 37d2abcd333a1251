#include "platform/filetype/filetype.h"

#include "platform/files/safe_write.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace platform {
namespace {

constexpr int kToolTimeoutMs = 30000;

// The magic value as shared-mime-info reads it: printable ASCII as it stands, every other byte
// as a \xNN escape (the backslash itself escaped too).
QString MagicValue(const QByteArray& bytes) {
  QString value;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte < 0x7f && byte != '\\' && byte != '"' && byte != '&' && byte != '<' &&
        byte != '>') {
      value += QChar(byte);
    } else {
      value += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
  }
  return value;
}

QString XmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

QByteArray MimePackage(const FileTypeRegistration& r) {
  QString xml = QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                    "  <mime-type type=\"%1\">\n"
                    "    <comment>%2</comment>\n")
                    .arg(XmlEscaped(r.mimeType), XmlEscaped(r.comment));
  if (!r.magic.isEmpty()) {
    // The magic outranks other types that claim the same file-name pattern: the bytes decide.
    xml += QStringLiteral(
               "    <magic priority=\"80\">\n"
               "      <match type=\"string\" offset=\"0\" value=\"%1\"/>\n"
               "    </magic>\n")
               .arg(MagicValue(r.magic));
  }
  xml += QStringLiteral("    <glob pattern=\"%1\"/>\n  </mime-type>\n</mime-info>\n")
             .arg(XmlEscaped(r.globPattern));
  return xml.toUtf8();
}

// A desktop-entry string value: backslash, newline, tab and carriage return escaped.
QString DesktopString(QString text) {
  text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
  text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
  return text;
}

QByteArray DesktopEntry(const FileTypeRegistration& r) {
  const QString entry = QStringLiteral(
                            "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=%1\n"
                            "Exec=%2\n"
                            "MimeType=%3;\n"
                            "NoDisplay=true\n"
                            "Terminal=false\n")
                            .arg(DesktopString(r.applicationName),
                                 DesktopString(DesktopExecLine(r.programPath)), r.mimeType);
  return entry.toUtf8();
}

bool WriteWhole(const QString& path, const QByteArray& bytes, QString* failure) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    *failure = QStringLiteral("cannot create the folder of %1").arg(path);
    return false;
  }
  QString reason;
  if (!WriteFileAtomically(path, bytes, &reason)) {
    *failure = QStringLiteral("cannot write %1: %2").arg(path, reason);
    return false;
  }
  return true;
}

enum class Tool { Required, CheckIfInstalled };

// Runs one tool to its end; any way it can fail (missing, crashed, hung, non-zero exit) is a
// failure naming the tool and what it said. A checking tool that is not installed checks nothing.
bool RunTool(const QString& tool, const QStringList& arguments, QString* failure, Tool need = Tool::Required) {
  const QString executable = QStandardPaths::findExecutable(tool);
  if (executable.isEmpty()) {
    if (need == Tool::CheckIfInstalled) return true;
    *failure = QStringLiteral("%1 is not installed").arg(tool);
    return false;
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(executable, arguments);
  if (!process.waitForStarted(kToolTimeoutMs)) {
    *failure = QStringLiteral("%1 could not be started").arg(tool);
    return false;
  }
  if (!process.waitForFinished(kToolTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    *failure = QStringLiteral("%1 did not finish").arg(tool);
    return false;
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    *failure = QStringLiteral("%1 failed (exit %2): %3")
                   .arg(tool)
                   .arg(process.exitCode())
                   .arg(QString::fromLocal8Bit(process.readAll()).trimmed());
    return false;
  }
  return true;
}

QString PackageFileName(const QString& mimeType) {
  QString name = mimeType;
  name.replace(QLatin1Char('/'), QLatin1Char('-'));
  return name + QStringLiteral(".xml");
}

}  // namespace

QString UserDataFolder() {
  QString folder = qEnvironmentVariable("XDG_DATA_HOME");
  if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.local/share");
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

QString DesktopExecLine(const QString& program) {
  // Inside double quotes the Exec syntax wants ", `, $ and \ escaped with a backslash; a literal
  // % is doubled everywhere, or it would start a field code.
  QString quoted;
  for (const QChar c : program) {
    if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
        c == QLatin1Char('\\')) {
      quoted += QLatin1Char('\\');
    }
    if (c == QLatin1Char('%')) quoted += QLatin1Char('%');
    quoted += c;
  }
  return QStringLiteral("\"%1\" %f").arg(quoted);
}

FileTypeResult RegisterFileType(const FileTypeRegistration& registration) {
  FileTypeResult result;
  const QString data = UserDataFolder();
  const QString mimeFolder = data + QStringLiteral("mime");
  const QString applications = data + QStringLiteral("applications");
  const QString entry = applications + QLatin1Char('/') + registration.desktopId;
  // The entry is checked as written: the desktop ignores an entry it cannot read, and the
  // registration would then open nothing.
  if (!WriteWhole(mimeFolder + QStringLiteral("/packages/") + PackageFileName(registration.mimeType),
                  MimePackage(registration), &result.failure) ||
      !WriteWhole(entry, DesktopEntry(registration), &result.failure) ||
      !RunTool(QStringLiteral("desktop-file-validate"), {entry}, &result.failure, Tool::CheckIfInstalled) ||
      !RunTool(QStringLiteral("update-mime-database"), {mimeFolder}, &result.failure) ||
      !RunTool(QStringLiteral("update-desktop-database"), {applications}, &result.failure) ||
      !RunTool(QStringLiteral("xdg-mime"),
               {QStringLiteral("default"), registration.desktopId, registration.mimeType},
               &result.failure)) {
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace platform
