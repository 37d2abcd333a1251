#include "progress/game/game_pictures.h"

#include "platform/app/folders.h"
#include "platform/files/picture_file.h"

#include <QColor>
#include <QSize>
#include <QString>

#include <array>

namespace {

struct PictureFile {
  GamePicture picture;
  const char* fileName;
  QSize size;
  QRgb fallbackColor;
};

constexpr std::array<PictureFile, 5> kPictureFiles{{
    {GamePicture::CardBack, "GameCardBack.png", {209, 186}, 0xff7b2ff7},
    {GamePicture::CardFace, "GameCardFace.png", {209, 186}, 0xfffff8e7},
    {GamePicture::StartButton, "GameStartButton.png", {180, 40}, 0xff2e9d57},
    {GamePicture::Banner, "GameBanner.png", {420, 31}, 0xff1e3c72},
    {GamePicture::CloseBox, "GameCloseBox.png", {21, 21}, 0xffd64541},
}};

}  // namespace

QImage LoadGamePicture(GamePicture picture) {
  for (const PictureFile& file : kPictureFiles) {
    if (file.picture != picture) continue;
    QImage image = platform::ReadProgramPicture(QString::fromLatin1(file.fileName));
    if (!image.isNull()) return image;
    QImage plain(file.size, QImage::Format_ARGB32);
    plain.fill(QColor::fromRgba(file.fallbackColor));
    return plain;
  }
  return {};
}
