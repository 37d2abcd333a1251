#include "libraries/ComboBoxEx.h"

#include "platform/app/folders.h"
#include "platform/files/picture_file.h"
#include "platform/forms/picture_box.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kFlagSide = 32;
// Rows of the dropped-down list an item takes, in pixels (the list's height is given in pixels).
constexpr int kItemHeight = 18;

QString FlagFileName(QChar first, QChar second, const QString& extension) {
  return QStringLiteral("_") + first + second + extension;
}

// The folders a composed flag may live in, the program folder first.
QStringList FlagFolders() { return {platform::ProgramFolder(), platform::UserCacheFolder()}; }

QImage LoadIcon(const QString& path) { return platform::ReadPictureFile(path); }

bool SaveBitmap(const QImage& picture, const QString& path) { return platform::WritePictureFile(picture, path, "BMP"); }

// The picture with every pixel of `transparent` made transparent: what the icon file holds.
QImage WithTransparency(const QImage& picture, QRgb transparent) {
  QImage result = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < result.height(); ++y)
    for (int x = 0; x < result.width(); ++x)
      if ((result.pixel(x, y) & 0xFFFFFF) == (transparent & 0xFFFFFF)) result.setPixel(x, y, 0);
  return result;
}

// The key letters of an item: its first two characters, or X and the command's letter.
std::pair<QChar, QChar> KeyLetters(const QString& text, ComboItemKind kind) {
  switch (kind) {
    case ComboItemKind::DeleteCommand: return {u'X', u'X'};
    case ComboItemKind::WebCommand: return {u'X', u'W'};
    case ComboItemKind::AddCommand: return {u'X', u'O'};
    case ComboItemKind::Library: break;
  }
  return {text.size() > 0 ? text[0] : QChar(), text.size() > 1 ? text[1] : QChar()};
}

}  // namespace

int CategoryIndex(QChar letter) {
  const auto found = std::find(kCategoryLetters.begin(), kCategoryLetters.end(), letter.unicode());
  return found == kCategoryLetters.end() ? 0 : static_cast<int>(found - kCategoryLetters.begin()) + 1;
}

void ComboBoxEx::setParent(QWidget* parent, FlagPictures pictures) {
  parent_ = parent;
  pictures_ = std::move(pictures);
}

void ComboBoxEx::Create(int left, int top, int width, int height, int iconSize) {
  images_.Create(iconSize == 32 ? 1 : 0);
  combo_ = new QComboBox(parent_);  // owned by the parent window
  combo_->setObjectName(QStringLiteral("Cmb_Library"));
  combo_->setEditable(false);
  combo_->setIconSize(QSize(iconSize, iconSize));
  combo_->setGeometry(left, top, width, combo_->sizeHint().height());
  combo_->setMaxVisibleItems(std::max(1, (height - combo_->height()) / kItemHeight));
  ItemTable.assign(1, ItemEntry{});
  QObject::connect(combo_, &QComboBox::activated, combo_, [this] {
    if (onSelChange) onSelChange();
  });
  combo_->show();
}

void ComboBoxEx::Destroy() {
  images_.RemoveImage();
  delete combo_.data();
}

void ComboBoxEx::Clear() {
  if (combo_) combo_->clear();
  ItemTable.assign(1, ItemEntry{});
  SetIndex(-1);
}

void ComboBoxEx::ClearCounter() {
  IconKeys.fill(QString());
  images_.RemoveImage();
}

QImage ComboBoxEx::FlagPicture(QChar first, QChar second) {
  for (const QString& folder : FlagFolders()) {
    const QString path = folder + FlagFileName(first, second, QStringLiteral(".ico"));
    if (!QFileInfo::exists(path)) continue;
    const QImage stored = LoadIcon(path);
    if (!stored.isNull()) return stored;
  }
  const int source = CategoryIndex(first);
  const int target = CategoryIndex(second);
  if (source == 0 || target == 0) return {};
  const QImage& sourcePicture = pictures_.categories[static_cast<std::size_t>(source - 1)];
  const QImage& targetPicture = pictures_.categories[static_cast<std::size_t>(target - 1)];
  if (sourcePicture.isNull() || targetPicture.isNull()) return {};
  Mix_Flag(sourcePicture, targetPicture, first, second);
  return mixPicture_;
}

void ComboBoxEx::Mix_Flag(const QImage& SourcePicture, const QImage& TargetPicture, QChar type_S, QChar type_T) {
  const QImage source = SourcePicture.scaled(kFlagSide, kFlagSide).convertToFormat(QImage::Format_RGB32);
  const QImage target = TargetPicture.scaled(kFlagSide, kFlagSide).convertToFormat(QImage::Format_RGB32);
  QImage mixed(kFlagSide, kFlagSide, QImage::Format_RGB32);
  for (int y = 0; y < kFlagSide; ++y)
    for (int x = 0; x < kFlagSide; ++x) mixed.setPixel(x, y, (x + y < kFlagSide ? source : target).pixel(x, y));
  if (pictures_.mix != nullptr) pictures_.mix->draw([&](QPainter& painter) { painter.drawImage(0, 0, mixed); });

  // The corner colour is the flags' background: it becomes the icon's transparent colour.
  const QRgb transparent = mixed.pixel(0, 0);
  mixPicture_ = WithTransparency(mixed, transparent);
  for (const QString& folder : FlagFolders()) {
    QDir().mkpath(folder);
    if (SaveBitmap(mixed, folder + FlagFileName(type_S, type_T, QStringLiteral(".bmp"))) &&
        iconX_.SavePicToIcon(mixed, transparent, folder + FlagFileName(type_S, type_T, QStringLiteral(".ico")), 4)) {
      const QImage stored = LoadIcon(folder + FlagFileName(type_S, type_T, QStringLiteral(".ico")));
      if (!stored.isNull()) mixPicture_ = stored;
      break;
    }
  }
  if (pictures_.mix != nullptr) pictures_.mix->setPicture(mixPicture_);
}

void ComboBoxEx::Additems(const QString& StringToAdd, int Index, int& ImgIndex, ComboItemKind kind,
                          const QString& Filename) {
  const auto [first, second] = KeyLetters(StringToAdd, kind);
  const QString key = QString(first) + second;
  ImgIndex = -1;
  bool isNew = true;
  for (std::size_t slot = 0; slot < IconKeys.size(); ++slot) {
    if (IconKeys[slot] == key) {
      ImgIndex = static_cast<int>(slot);
      isNew = false;
      break;
    }
  }
  if (isNew) {
    const auto empty = std::find(IconKeys.begin(), IconKeys.end(), QString());
    if (empty != IconKeys.end()) {
      *empty = key;
      ImgIndex = static_cast<int>(empty - IconKeys.begin());
    }
    // A key without a picture (an unknown letter, an unreadable file) gets an empty image, so its
    // slot stays paired with its image and the items after it keep theirs.
    ImageCount = images_.AddIcon(FlagPicture(first, second));
    if (ImgIndex == -1) ImgIndex = ImageCount - 1;
  }

  if (combo_) {
    const int selected = combo_->currentIndex();
    combo_->insertItem(Index, images_.icon(ImgIndex), StringToAdd);
    if (selected == -1) combo_->setCurrentIndex(-1);  // an insert into an empty list selects nothing
  }
  if (Index >= static_cast<int>(ItemTable.size())) ItemTable.resize(static_cast<std::size_t>(Index) + 1);
  if (Index >= 0) ItemTable[static_cast<std::size_t>(Index)] = ItemEntry{StringToAdd, Filename, kind};
}

QString ComboBoxEx::GetText() const {
  const int index = GetIndex();
  const QString number = index >= 0 ? QStringLiteral(" ") + QString::number(index) : QString::number(index);
  const QString text = index >= 0 ? GetString(index) : QString();
  return QStringLiteral("[") + number + QStringLiteral("]") + text;
}

QString ComboBoxEx::GetString(int id) const {
  if (id < 0 || id >= static_cast<int>(ItemTable.size())) return {};
  return ItemTable[static_cast<std::size_t>(id)].Text;
}

std::optional<ComboItemKind> ComboBoxEx::KindOf(int index) const {
  if (index < 0 || index >= static_cast<int>(ItemTable.size()) || index >= ListCount()) return std::nullopt;
  return ItemTable[static_cast<std::size_t>(index)].kind;
}

int ComboBoxEx::GetIndex() const { return combo_ ? combo_->currentIndex() : -1; }

int ComboBoxEx::ListCount() const { return combo_ ? combo_->count() : 0; }

void ComboBoxEx::SetIndex(int index) {
  if (combo_) combo_->setCurrentIndex(index);
}

void ComboBoxEx::RemoveItem(int item) {
  if (combo_) combo_->removeItem(item);
  SetIndex(0);
}

void ComboBoxEx::ReBuild(int index) {
  if (ItemTable.size() <= 1 || index < 0 || index >= static_cast<int>(ItemTable.size())) return;
  ItemTable.erase(ItemTable.begin() + index);
}

int ComboBoxEx::FindLibraryItem(const QString& text) const {
  for (int i = 0; i < ListCount(); ++i) {
    if (KindOf(i) == ComboItemKind::Library && GetString(i) == text) return i;
  }
  return -1;
}
