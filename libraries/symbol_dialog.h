#pragma once
// The window the three symbol dialogs share (frmGroupKeyword, frmMeaningKeyword,
// frmPhoneticKeyword). A library marks parts of its lines with pairs of symbols; each dialog lets
// the learner choose one pair while watching its effect on real lines of the library: it shows a
// line of the learning cycle as a sample, offers the current symbol and every character of the
// sample in two lists, steps back and forth through the cycle, and takes the bar's current text
// as the sample on request. The close picture stores the pair (shared values, library settings
// file, the tray item's caption) and lays the bar out again; Escape closes without storing.
// The dialogs differ only in the data of SymbolDialogMember.

#include "bar/frmSysMenu.h"
#include "platform/forms/command_button.h"
#include "platform/forms/form.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/window/drag.h"

#include <QComboBox>
#include <QFrame>
#include <QStringView>

#include <cstdint>

// What sets one dialog apart from the other two.
struct SymbolDialogMember {
  QStringView formName;
  QString* start;  // the pair of shared values the dialog edits
  QString* end;
  QStringView startKey;  // their keys in section "Normal" of the library settings file
  QStringView endKey;
  platform::MenuItem* frmSysMenu::*menuItem;  // the tray item that opens the dialog, captioned with the pair
  void (*drawAnotherOne)(const QString& text);  // draws the bar's current text as the sample
  bool anotherOneFromBarPosition;  // the another-one button also moves the sample row to the bar's position
  double changeLeft;     // Cmd_change's left, twips
  double topicWidth;     // Lbl_Topic's width, twips
  QStringView topic;     // design captions, kept where the language file has none
  QStringView startLabel;
  QStringView endLabel;
};

extern const SymbolDialogMember kGroupSymbols;
extern const SymbolDialogMember kMeaningSymbols;
extern const SymbolDialogMember kPhoneticSymbols;

class SymbolDialog : public platform::Form {
  Q_OBJECT

 public:
  explicit SymbolDialog(const SymbolDialogMember& member);
  ~SymbolDialog() override;

  // Handlers.
  void Form_Load() override;
  void Cmd_change_Click();
  void Cmd_Prev_Click();
  void Cmd_Next_Click();
  void Picture1_MouseDown();
  void Picture2_Click();

  // Controls, in creation order.
  platform::PictureBox* Picture1;     // title strip: pressing it drags the window
  platform::PictureBox* Picture2;     // close picture: stores the pair and closes
  QFrame* Frame2;                     // rule under the title strip
  platform::Label* Lbl_Topic;         // title
  platform::CommandButton* Cmd_change;  // "another one": the bar's current text as the sample
  platform::CommandButton* Cmd_Prev;    // previous sample row
  platform::CommandButton* Cmd_Next;    // next sample row
  platform::PictureBox* Pic_Sample;   // the sample, drawn with the symbols
  platform::Label* Lbl_Start;
  QComboBox* Cmb_Start;               // start-symbol candidates
  platform::Label* Lbl_End;
  QComboBox* Cmb_End;                 // end-symbol candidates

  // The row of g_CycleTable shown as the sample; meaningful from 0 to g_CycleLast - 1.
  std::int16_t m_SampleRow = 0;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void ShowSample();
  // Offers the current symbols (selected) and then every character of the sample in both lists.
  void FillSymbolLists(const QString& sample);
  // Writes one symbol to the library settings file; false when the write failed.
  bool StoreSymbol(QStringView key, const QString& value);
  void ReportStoreFailure();

  const SymbolDialogMember& member_;
  // The current symbols as the lists offer them first: what the settings hold, so that a symbol
  // of several characters left unchanged is stored back whole.
  QString offeredStart_;
  QString offeredEnd_;
  platform::WindowDrag drag_{*this};
};
