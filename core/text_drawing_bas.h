#pragma once
// The texts of the word bar: the word line with its phonetic row, the meaning rows and the
// segment label. Each box draws with its own font and fore colour into its persistent image;
// widths are measured in the same font on the same image, so what is measured is what is drawn.
//
// The word-line pass cuts the line into one-character pieces (g_Pieces) and gives each phonetic
// part to the characters it belongs to, so that the phonetic row can place every reading over its
// character (Chinese and Japanese libraries) or show it at the left edge (all others).

#include <QString>

namespace platform {
class PictureBox;
}

// Draws the word line into Pic_ShowText (only while g_BarShown) after the piece pass: with the
// phonetic row on, the line loses its phonetic parts and their symbols. With the meaning rows on,
// the line ends before the first meaning start symbol. `style` changes nothing (callers pass "U").
void DrawWordText(const QString& text, const QString& style);

// Draws the readings of the last word-line pass into Pic_ShowPhonetic (when g_ShowPhonetic).
void DrawPhoneticText();

// Draws `text` into Pic_ShowLongMeaning (only while g_BarShown), wrapped between any two
// characters at the box width, one row per g_MeaningRows-th of the box height.
void DrawMeaningText(const QString& text, const QString& style);

// The meaning part of a library line: the first keyword between the meaning symbols, with the
// symbols, and the text after it up to the next start symbol; "$" is dropped. Empty when the
// meaning rows are off, a meaning symbol is empty, or the line has no keyword.
QString ExtractMeaningKeyword(const QString& line);

// Sizes Pic_SegNo to `text`, puts its right edge on Lbl_Counter's left edge and draws the text.
void DrawUnicodeText(const QString& text);

// `text` without its "[...]" parts: a "]" closes whatever is open, an unclosed "[" drops the rest,
// a lone "]" is only dropped.
QString RemoveBracketed(const QString& text);

// For Japanese libraries only (false for every other g_SourceLang): true when `character` is a
// single-byte character of the Chinese ANSI code page (GBK) or a double-byte one below the
// ideograph rows (kana, symbols, full-width Latin); false for ideographs.
bool IsWideChar(const QString& character);

// Clears the box and draws `text` as the word line is drawn: from the top-left corner in the box's
// font and fore colour, clipped at 2000 x 200 pixels. The symbol dialogs' samples use it too.
void DrawTextIntoBox(platform::PictureBox& box, const QString& text);

// ---- The word-line pass, shared with the symbol dialogs' samples -------------------------------

// A line never yields more pieces than this: the rest lies far beyond the right edge of any box
// (and would make the prefix table grow with the square of the line length).
inline constexpr int kMaxPieces = 4096;

// How a closing phonetic symbol hands its readings to the pieces before it.
enum class ReadingPlacement {
  ByLanguage,  // the bar: a Japanese library gives each reading to the first ideograph of a run
  EveryPiece,  // the symbol dialogs' samples: every non-blank piece, whatever the language
};

// The text with everything from the first g_MeaningSymbolStart on cut off when the meaning rows
// are shown; otherwise the text unchanged.
QString CutBeforeMeaning(const QString& text);

// The phonetic end symbol that stands for "the next blank after the phonetic part".
const QString& FollowSpaceSymbol();

// Makes "<FOLLOW_SPACE>" in g_PhoneticSymbolEnd a single blank (the phonetic part then ends at
// the next blank) and tells whether both phonetic symbols are set, so the pass can run.
bool PreparePhoneticSymbols();

// Cuts `text` into g_Pieces with g_PieceCount and g_PieceIndex (only the first character of
// `open` and `close` counts) and returns the text to draw: the line outside the phonetic parts,
// without the symbols. Widths are measured in Pic_ShowText's font.
QString CutIntoPieces(const QString& text, const QString& open, const QString& close, ReadingPlacement placement);
