#pragma once
// Pictures read from and written to files through the program's one read path and one write
// path: a picture file that is a FIFO or a device reads as missing (a null picture) instead of
// blocking, and a picture written on a full disk fails without leaving half a file.

#include <QImage>
#include <QString>

namespace platform {

// The picture in the file, its format told by the file name's suffix or, failing that, by its
// content; a null picture when the file is missing, not a regular file or not a picture.
QImage ReadPictureFile(const QString& path);

// A picture the program ships in its program folder, by file name; null when it is missing.
QImage ReadProgramPicture(const QString& fileName);

// Writes the picture in the given format ("BMP", "PNG", ...) as a whole file; false on failure.
bool WritePictureFile(const QImage& picture, const QString& path, const char* format);

}  // namespace platform
