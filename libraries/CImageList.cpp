#include "libraries/CImageList.h"

#include <QPixmap>

void CImageList::Create(int imgSize) {
  size_ = imgSize != 0 ? 32 : 16;
  images_.clear();
}

int CImageList::AddIcon(const QImage& picture) {
  // A missing picture takes a transparent image, so the icons of later items keep their places.
  QImage scaled(size_, size_, QImage::Format_ARGB32);
  scaled.fill(Qt::transparent);
  if (!picture.isNull()) scaled = picture.scaled(size_, size_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  images_.emplace_back(QPixmap::fromImage(scaled));
  return GetImageCount();
}

void CImageList::RemoveImage(int index) {
  if (index < 0) {
    images_.clear();
  } else if (index < GetImageCount()) {
    images_.erase(images_.begin() + index);
  }
}

QIcon CImageList::icon(int index) const {
  if (index < 0 || index >= GetImageCount()) return {};
  return images_[static_cast<std::size_t>(index)];
}
