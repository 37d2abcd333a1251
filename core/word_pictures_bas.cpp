#include "core/word_pictures_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/read_ini_bas.h"
#include "core/vars_bas.h"
#include "platform/files/safe_read.h"
#include "platform/forms/twips.h"
#include "platform/ini/ini.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace {

const QString kCoverFileName = QStringLiteral("00.Cover.jpg");
const QString kPictureSuffix = QStringLiteral(".jpg");

// The cover as last loaded, shown again for words without a picture of their own.
struct CoverCache {
  QString path;
  QImage image;
};
CoverCache& Cover() {
  static CoverCache cover;
  return cover;
}

// The picture at `path`, or an empty image when there is no readable picture there. Only regular
// files are opened (a FIFO in the folder must not hang the bar). When `visible` is not empty,
// only that part of the picture is decoded: the row shows the picture from its top-left corner.
QImage ReadPicture(const QString& path, const QSize& visible = {}) {
  QFile file;
  if (!platform::OpenRegularFile(path, file)) return {};
  QImageReader reader(&file, QFileInfo(path).suffix().toLatin1());
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (visible.isValid() && size.isValid()) {
    const QRect part = QRect(QPoint(0, 0), size) & QRect(QPoint(0, 0), visible);
    if (part.isEmpty()) return {};
    if (part.size() != size) reader.setClipRect(part);
  }
  return reader.read();
}

void SwitchPictureRowOff() {
  frmSysMenu& menu = frmSysMenu::instance();
  menu.mnuSysTrayShowPicture->setChecked(false);
  menu.mnuSysTrayShowPicture->setEnabled(false);
  g_ShowPicture = false;
  g_IniValue = QString();
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), QStringLiteral("Normal"),
                                             QStringLiteral("WordShowPicture"), g_IniValue);
}

}  // namespace

QString WordPictureFolder() {
  return g_LibraryFolder + g_LibraryFileName.left(std::max<qsizetype>(0, g_LibraryFileName.size() - 4)) +
         QStringLiteral(".JPG/");
}

std::optional<QString> WordPictureFileName(const QString& word) {
  const QString trimmed = word.trimmed();
  // One pass from the left: a pair of blanks becomes one, and what it became is not looked at
  // again (three blanks give two, four give two).
  QString name;
  name.reserve(trimmed.size());
  for (qsizetype i = 0; i < trimmed.size(); ++i) {
    name.append(trimmed[i]);
    if (trimmed[i] == u' ' && i + 1 < trimmed.size() && trimmed[i + 1] == u' ') ++i;
  }
  if (const qsizetype pair = name.indexOf(QStringLiteral("  ")); pair >= 0) name.truncate(pair);

  if (name.isEmpty() || name == u"." || name == u"..") return std::nullopt;
  if (name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(u'\0'))) return std::nullopt;
  return name + kPictureSuffix;
}

int CoverRowTwips(int pixelHeight) {
  // The loader reports the height in hundredths of a millimetre, as a whole number; the row
  // turns it back into pixels with a constant a little below 2540 / 96.
  constexpr double kHimetricPerPixel = 2540.0 / 96.0;
  constexpr double kHimetricPerRowPixel = 26.4578313253012;
  const double himetric = std::round(pixelHeight * kHimetricPerPixel);
  return static_cast<int>(std::floor(himetric / kHimetricPerRowPixel)) * platform::kTwipsPerPixel + 30;
}

void FindWordPicture(const QString& word) {
  if (!SkolvaneBar::loaded()) return;
  platform::PictureBox& row = *SkolvaneBar::instance().Pic_ShowPicture;
  QImage picture;
  if (const std::optional<QString> name = WordPictureFileName(word)) {
    picture = ReadPicture(WordPictureFolder() + *name, row.size());
  }
  if (picture.isNull() && Cover().path == WordPictureFolder() + kCoverFileName) picture = Cover().image;
  row.setPicture(picture);
}

int ShowLibraryCover() {
  const QString path = WordPictureFolder() + kCoverFileName;
  const QImage cover = ReadPicture(path);
  Cover() = CoverCache{path, cover};
  if (cover.isNull()) {
    SwitchPictureRowOff();
    return 0;
  }
  if (SkolvaneBar::loaded()) SkolvaneBar::instance().Pic_ShowPicture->setPicture(cover);
  return CoverRowTwips(cover.height());
}
