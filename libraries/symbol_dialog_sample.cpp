// The symbol dialog's sample: the cycle row it shows, stepping through the cycle, the bar's
// current text on request, and the two lists of candidate symbols.
#include "libraries/symbol_dialog.h"

#include "core/cycle_bas.h"
#include "core/keyword_drawing_bas.h"
#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/symbol_choice.h"

#include <limits>

void SymbolDialog::Form_Load() {
  ApplyFormLanguage(name());
  offeredStart_ = OfferedSymbol(*member_.start, StoredSymbolText(member_.startKey));
  offeredEnd_ = OfferedSymbol(*member_.end, StoredSymbolText(member_.endKey));
  // The current symbols stand selected even when there is no sample to show (the bar at the end
  // of its cycle, an empty cycle), so that closing at once keeps them.
  FillSymbolLists(QString());
  m_SampleRow = g_CyclePos;
  ShowSample();
}

void SymbolDialog::ShowSample() {
  // Outside the rows that can be shown the row is only brought back to the nearest end: the
  // sample and the lists stay as they are.
  if (m_SampleRow < 0) {
    m_SampleRow = 0;
    return;
  }
  if (m_SampleRow >= g_CycleLast) {
    m_SampleRow = g_CycleLast;
    return;
  }
  const QString sample = CycleRowText(m_SampleRow);
  DrawKeywordText(sample, name(), QStringLiteral("U"));
  FillSymbolLists(sample);
}

void SymbolDialog::FillSymbolLists(const QString& sample) {
  const QStringList characters = SymbolCandidates(sample);
  // Each entry shows its symbol legibly and holds it as it is.
  const auto fill = [&](QComboBox& list, const QString& current) {
    list.clear();
    list.addItem(SymbolDisplayText(current), current);
    for (const QString& character : characters) list.addItem(SymbolDisplayText(character), character);
    list.setCurrentIndex(0);
  };
  fill(*Cmb_Start, offeredStart_);
  fill(*Cmb_End, offeredEnd_);
}

void SymbolDialog::Cmd_change_Click() {
  if (member_.anotherOneFromBarPosition) m_SampleRow = g_CyclePos;
  member_.drawAnotherOne(g_CurrentText);
  FillSymbolLists(g_CurrentText);
}

void SymbolDialog::Cmd_Prev_Click() {
  if (m_SampleRow > std::numeric_limits<std::int16_t>::min()) --m_SampleRow;
  ShowSample();
}

void SymbolDialog::Cmd_Next_Click() {
  if (m_SampleRow < std::numeric_limits<std::int16_t>::max()) ++m_SampleRow;
  ShowSample();
}
