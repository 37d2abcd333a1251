#pragma once
// The icon-writer control of the library manager: saves a picture's top-left 32 x 32 pixels as an
// icon file with one transparent colour (see mdlExportPicToIcon.h for the file it writes).

#include <QImage>
#include <QString>

class IconX {
 public:
  // True when the file was written; false for a depth other than 1, 4, 8 or 24 or a failed write.
  bool SavePicToIcon(const QImage& picture, QRgb transparentColor, const QString& targetFileName, int saveBits) const;
};
