#include "libraries/IconX.h"

#include "libraries/mdlExportPicToIcon.h"

bool IconX::SavePicToIcon(const QImage& picture, QRgb transparentColor, const QString& targetFileName,
                          int saveBits) const {
  return ExportPicToIcon(picture, transparentColor, targetFileName, saveBits);
}
