#pragma once
// The library manager's drop-down list with a small flag per item. Each item's icon is chosen by
// a two-letter key: a library item's first two characters (its library code: word language,
// meaning language), or X + X, W or O for the Delete, Web and Add command items. Up to 100 keys
// are cached per fill, one image each. A key's picture is the icon file "_" + key + ".ico"; a
// missing one is composed from the two category pictures of its letters (the first letter's flag
// in the upper-left half, the second's in the lower-right half, split along the diagonal) and
// stored as "_" + key + ".bmp" and ".ico" for the next fill, in the program folder or, when that
// is not writable, in the user's cache folder.
//
// The list reports only the learner's choice (onSelChange); selections made by code are quiet.
// Items are told apart by their kind, never by their text.

#include "libraries/CImageList.h"
#include "libraries/IconX.h"

#include <QComboBox>
#include <QImage>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace platform {
class PictureBox;
}

enum class ComboItemKind { Library, AddCommand, WebCommand, DeleteCommand };

// The letters of the twelve language categories, in the order of the manager's category pictures.
inline constexpr std::array<char16_t, 12> kCategoryLetters = {u'A', u'B', u'C', u'D', u'F', u'G',
                                                              u'I', u'J', u'K', u'P', u'R', u'S'};
// The category index (1 to 12) of a letter, 0 for a letter that names no category.
int CategoryIndex(QChar letter);

// Where the flags come from: the twelve category pictures (index 0 = category 1) and the
// manager's mixing box Pic_Mix, which shows each flag as it is composed or loaded.
struct FlagPictures {
  std::array<QImage, 12> categories;
  platform::PictureBox* mix = nullptr;
};

class ComboBoxEx {
 public:
  // The owner window and the flag pictures; set before Create.
  void setParent(QWidget* parent, FlagPictures pictures);
  // Creates the list at (left, top) with the given width in pixels; `height` is the height of the
  // dropped-down list with the edit part. Icons are iconSize pixels square.
  void Create(int left, int top, int width, int height, int iconSize = 16);
  void Destroy();

  // Empties the list and its item table; nothing is selected.
  void Clear();
  // Empties the icon-key cache and the image list.
  void ClearCounter();
  // Inserts an item at list position `Index` with the icon of its key; ImgIndex receives the
  // image's index (-1 when it has none). The item table takes {StringToAdd, Filename, kind}.
  void Additems(const QString& StringToAdd, int Index, int& ImgIndex, ComboItemKind kind,
                const QString& Filename = {});

  // "[" + the selected index (a blank before a non-negative one) + "]" + the item's text;
  // "[-1]" when nothing is selected.
  QString GetText() const;
  // The text of item table entry `id`; empty outside the table.
  QString GetString(int id) const;
  // The kind of item table entry `index`; nothing outside the table.
  std::optional<ComboItemKind> KindOf(int index) const;
  int GetIndex() const;
  int ListCount() const;
  // Selects an item without reporting it (-1: none).
  void SetIndex(int index);
  // Deletes list item `item` and selects the first item; the caller rebuilds the table.
  void RemoveItem(int item);
  // Removes entry `index` from the item table (the table keeps at least one entry).
  void ReBuild(int index);
  // The list position of the library item with this text, or -1.
  int FindLibraryItem(const QString& text) const;

  // Composes the flag of two letters into Pic_Mix and stores it as "_" + letters + ".bmp"/".ico".
  void Mix_Flag(const QImage& SourcePicture, const QImage& TargetPicture, QChar type_S, QChar type_T);

  QComboBox* widget() const { return combo_; }
  const CImageList& images() const { return images_; }

  // The learner chose an item (also the one already selected).
  std::function<void()> onSelChange;

 private:
  struct ItemEntry {
    QString Text;
    QString Path;
    ComboItemKind kind = ComboItemKind::Library;
  };

  QImage FlagPicture(QChar first, QChar second);

  QWidget* parent_ = nullptr;
  FlagPictures pictures_;
  QPointer<QComboBox> combo_;
  CImageList images_;
  IconX iconX_;
  std::array<QString, 100> IconKeys;
  int ImageCount = 0;
  std::vector<ItemEntry> ItemTable{ItemEntry{}};
  QImage mixPicture_;  // the flag now in Pic_Mix, with its transparency
};
