#pragma once
// Reads every setting into its shared value and brings the tray menu's check marks and captions,
// the bar's visibility and translucency, and the fonts and heights of the bar's three text boxes
// into line with them.

#include <QString>

#include <cstdint>
#include <optional>

void LoadSettings();

// Conversions used by the settings load. A text that is not a number, or a number outside the
// range of the value it lands in, gives nothing, so the caller takes the value for a missing key.
std::optional<std::int16_t> ToInt16Setting(const QString& text);
std::optional<std::int32_t> ToInt32Setting(const QString& text);

// Applies a "name;charset:size" font value to the word box and derives the meaning and phonetic
// boxes' fonts and heights from it.
void ApplyWordFontSpec(const QString& fontSpec);

// Gives the meaning and phonetic boxes the word box's font at their share of its size, and the
// heights that follow from it and from the meaning-row count.
void DeriveMeaningAndPhoneticFonts();
