#pragma once
// Reads every setting into its shared value and brings the tray menu's check marks and captions,
// the bar's visibility and translucency, and the fonts and heights of the bar's three text boxes
// into line with them. A number that is not a number, or does not fit the value it lands in,
// reads as missing.

#include <QString>

void LoadSettings();

// Applies a "name;charset:size" font value to the word box and derives the meaning and phonetic
// boxes' fonts and heights from it.
void ApplyWordFontSpec(const QString& fontSpec);

// Gives the meaning and phonetic boxes the word box's font at their share of its size, and the
// heights that follow from it and from the meaning-row count.
void DeriveMeaningAndPhoneticFonts();
