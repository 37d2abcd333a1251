#pragma once
// Replacing a file that another program may replace too (the open word library, which the learner
// can edit, sync or rewrite elsewhere while the bar runs). The new content is first put on disk
// whole beside the file, in a temporary file of the safe writer (one temporary name, never one
// made for another); only then is the caller asked, once more and
// immediately before the rename that puts it in place, whether the file is still the one it
// read. A change someone made while the content was being written and synced is then kept, not
// overwritten.

#include "platform/files/safe_read.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace platform {

enum class ReplaceResult {
  Replaced,          // the file now holds the bytes
  ChangedMeanwhile,  // the check said the file changed: it was left as it is
  Failed,            // the bytes could not be put on disk (*reason says why); the file is whole
};

// Replaces the file at path with bytes, as WriteFileAtomically does (a symbolic link is followed,
// the file keeps its permission bits, a FIFO, a folder or an unwritable file is refused), but
// only when `unchanged` still holds right before the rename. *written is the version of the file
// put in place (to compare later changes with). No temporary file is left behind either way.
ReplaceResult ReplaceFileUnlessChanged(const QString& path, QByteArrayView bytes, const std::function<bool()>& unchanged,
                                       FileVersion* written = nullptr, QString* reason = nullptr);

}  // namespace platform
