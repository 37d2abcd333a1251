#include "reader/archive_mode.h"

#include "platform/archive/archive_mode_arguments.h"
#include "reader/reader_channel.h"
#include "reader/zip_unpack.h"

#include <archive.h>

#include <clocale>
#include <memory>

namespace reader {

void PrepareArchiveMode() {
  // Entry names come out of the archive library in the process's character set: UTF-8, set up
  // now (before the confinement) with the code page conversion the names are read with.
  std::setlocale(LC_CTYPE, "C.UTF-8");
  const std::unique_ptr<archive, int (*)(archive*)> warmUp(archive_read_new(), archive_read_free);
  if (!warmUp) return;
  archive_read_support_format_zip(warmUp.get());
  archive_read_set_options(warmUp.get(), "zip:hdrcharset=CP936");
}

int RunArchiveMode(const QStringList& arguments, ReaderChannel& channel) {
  const std::optional<platform::ArchiveModeArguments> request = platform::ReadArchiveModeArguments(arguments);
  if (!request) return 1;
  const auto progress = [&channel](std::int64_t written, std::int64_t declared) {
    channel.progress(written, declared);
    return true;  // the program stops the reader by ending it
  };
  const QString& beginning = request->onlyBeginning;
  const auto wanted = [&beginning](const QString& firstStep) {
    return firstStep.size() > beginning.size() && firstStep.startsWith(beginning);
  };
  const platform::UnpackOutcome outcome =
      UnpackZipArchive(request->archivePath, request->folder, {}, progress,
                       beginning.isEmpty() ? UnpackFilter() : UnpackFilter(wanted));
  channel.answer(platform::EncodeUnpackOutcome(outcome));
  return 0;
}

}  // namespace reader
