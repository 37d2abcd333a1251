#include "core/keyword_drawing_bas.h"

#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "libraries/frmGroupKeyword.h"
#include "libraries/frmMeaningKeyword.h"
#include "libraries/frmPhoneticKeyword.h"

namespace {

// The phonetic part of a sample is found by these fixed characters; the settings only decide
// whether the pass runs at all.
const QString kSampleOpen = QStringLiteral("[");
const QString kSampleClose = QStringLiteral("]");

// The sample box of an open dialog. A drawing never opens a dialog: one that is closed gets no
// sample.
template <class Dialog>
platform::PictureBox* SampleBoxOf() {
  return Dialog::loaded() ? Dialog::instance().Pic_Sample : nullptr;
}

platform::PictureBox* SampleBoxNamed(const QString& formName) {
  if (formName == u"frmMeaningKeyword") return SampleBoxOf<frmMeaningKeyword>();
  if (formName == u"frmPhoneticKeyword") return SampleBoxOf<frmPhoneticKeyword>();
  if (formName == u"frmGroupKeyword") return SampleBoxOf<frmGroupKeyword>();
  return nullptr;
}

void DrawSample(platform::PictureBox* box, const QString& text) {
  if (g_BarShown && box != nullptr) DrawTextIntoBox(*box, text);
}

// The line as the word pass leaves it, with the phonetic part taken out by the fixed brackets.
QString WithoutPhoneticPart(const QString& text) {
  g_PieceCount = 0;
  g_PieceIndex = 0;
  const QString shown = CutBeforeMeaning(text);
  if (!g_ShowPhonetic || !PreparePhoneticSymbols()) return shown;
  return CutIntoPieces(shown, kSampleOpen, kSampleClose, ReadingPlacement::EveryPiece);
}

}  // namespace

void DrawKeywordTextA(const QString& text, const QString& /*style*/) {
  DrawSample(SampleBoxOf<frmPhoneticKeyword>(), WithoutPhoneticPart(text));
}

void DrawKeywordTextB(const QString& text, const QString& /*style*/) {
  DrawSample(SampleBoxOf<frmGroupKeyword>(), WithoutPhoneticPart(text));
}

void DrawKeywordText(const QString& text, const QString& formName, const QString& /*style*/) {
  g_PieceCount = 0;
  DrawSample(SampleBoxNamed(formName), CutBeforeMeaning(text));
}
