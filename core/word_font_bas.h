#pragma once
// The word font as the settings store it (WordFont): face name, ";", character set, ":", size in
// points ("Arial;0:12"). The bar's word box and the card game's card pictures are both drawn in it.

#include <QString>

#include <optional>

namespace platform {
class PictureBox;
}

// Gives `box` the font a WordFont value names: the face is the text before the first ";" (kept
// when there is none); when there is a ":", the character set is the text between ";" and ":" and
// the size the text after ":". A part that is not a number (or a size out of the 16-bit twips
// range) keeps the box's value. Returns the size in points now in force when the value has a size
// part, else nothing.
std::optional<double> ApplyWordFont(platform::PictureBox& box, const QString& wordFont);
