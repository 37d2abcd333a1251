#pragma once
// An image list: pictures of one size (16 x 16 or 32 x 32) kept by index, for the icon combo.
// A picture added keeps its transparency and is scaled to the list's size.

#include <QIcon>
#include <QImage>

#include <vector>

class CImageList {
 public:
  // Empties the list and sets its image size: 32 x 32 when imgSize is non-zero, else 16 x 16.
  void Create(int imgSize);
  // Adds a copy of the picture; returns the image count after the add.
  int AddIcon(const QImage& picture);
  // Removes image `index`, or every image with -1.
  void RemoveImage(int index = -1);
  int GetImageCount() const { return static_cast<int>(images_.size()); }
  int GetIconSize() const { return size_; }
  // The image as an icon; an empty icon for an index outside the list.
  QIcon icon(int index) const;

 private:
  int size_ = 16;
  std::vector<QIcon> images_;
};
