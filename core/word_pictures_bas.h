#pragma once
// Word pictures and the library cover. A library may come with a picture folder beside it, named
// like the library file with ".JPG" in place of ".abc": "00.Cover.jpg" is the library's cover,
// and "<word>.jpg" the picture of a word. The bar's picture row shows the cover, and while a word
// is on the bar, that word's picture.
//
// The file name of a word's picture is made from a library line, which is outside input: only a
// plain file name inside the picture folder is ever looked up. A file that is not a readable
// picture counts as missing.

#include <QString>

#include <optional>

// The open library's picture folder, ending in "/".
QString WordPictureFolder();

// The picture file name for a word: trimmed, each pair of blanks made one in a single pass, cut
// before any pair of blanks still left, then ".jpg" appended. None when the word leaves no plain
// file name: empty, "." or "..", or holding "/", "\" or a NUL.
std::optional<QString> WordPictureFileName(const QString& word);

// The picture row's height in twips for a cover `pixelHeight` pixels high: the height as the
// picture loader reports it (hundredths of a millimetre at 96 dots per inch) turned back into
// whole pixels, at 15 twips each, plus two pixels.
int CoverRowTwips(int pixelHeight);

// Shows the word's picture in the picture row. A word without a readable picture shows the
// library's cover when it has one, else an empty row, so no earlier word's picture stays.
void FindWordPicture(const QString& word);

// Shows the library's cover in the picture row and returns the height in twips the row must take.
// Without a readable cover the picture row is switched off for this library (the tray item
// unchecked and greyed, g_ShowPicture off, "WordShowPicture" written empty) and 0 is returned.
int ShowLibraryCover();
