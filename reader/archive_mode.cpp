#include "reader/archive_mode.h"

#include "reader/reader_channel.h"

namespace reader {

void PrepareArchiveMode() {}

int RunArchiveMode(const QStringList&, ReaderChannel&) { return 1; }

}  // namespace reader
