#pragma once
// The sample lines of the three symbol dialogs (frmGroupKeyword, frmMeaningKeyword,
// frmPhoneticKeyword): each dialog shows a line of the open library in its Pic_Sample box so the
// learner sees what the symbols do to it. The samples go through the same steps as the bar's word
// line (the cut before the meaning, the piece pass over the phonetic part) and are measured in
// the bar's word font, so g_Pieces then describes the sample until the bar's next word step.
// Nothing is drawn while the bar is off screen (g_BarShown), nor into a dialog that is not open.
// The style argument changes nothing (callers pass "U").

#include <QString>

// The text with its meaning cut off (meaning rows on) and, with the phonetic row on and both
// phonetic symbols set, its "[...]" parts and the brackets taken out; every non-blank piece before
// a "]" takes a reading, whatever the library's language. Drawn into frmPhoneticKeyword's sample.
void DrawKeywordTextA(const QString& text, const QString& style);

// The same pass, drawn into frmGroupKeyword's sample.
void DrawKeywordTextB(const QString& text, const QString& style);

// The text with its meaning cut off (meaning rows on), drawn otherwise unchanged into the sample
// of the dialog named "frmMeaningKeyword", "frmPhoneticKeyword" or "frmGroupKeyword"; any other
// name draws nothing. Always empties the piece table (g_PieceCount = 0).
void DrawKeywordText(const QString& text, const QString& formName = {}, const QString& style = {});
