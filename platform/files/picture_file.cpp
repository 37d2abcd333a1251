#include "platform/files/picture_file.h"

#include "platform/app/folders.h"
#include "platform/files/safe_read.h"
#include "platform/files/safe_write.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace platform {

QImage ReadPictureFile(const QString& path) {
  QByteArray bytes;
  if (ReadRegularFile(path, bytes) != ReadStatus::Ok) return {};
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, QFileInfo(path).suffix().toLatin1());
  reader.setDecideFormatFromContent(true);
  return reader.read();
}

bool WritePictureFile(const QImage& picture, const QString& path, const char* format) {
  QByteArray bytes;
  // The picture is encoded in memory (the writer opens the buffer itself); only the checked
  // write touches the file.
  QBuffer buffer(&bytes);
  if (!picture.save(&buffer, format)) return false;
  return WriteFileAtomically(path, bytes);
}

QImage ReadProgramPicture(const QString& fileName) { return ReadPictureFile(ProgramFolder() + fileName); }

}  // namespace platform
