#include "core/segment_navigation_bas.h"

#include "bar/SkolvaneBar.h"
#include "bar/frmSysMenu.h"
#include "core/bar_fitting_bas.h"
#include "core/language_bas.h"
#include "core/progress_texts_bas.h"
#include "core/read_ini_bas.h"
#include "core/segments_bas.h"
#include "core/text_drawing_bas.h"
#include "core/vars_bas.h"
#include "platform/dialogs/dialogs.h"
#include "platform/ini/ini.h"

#include <QCoreApplication>

#include <iterator>

namespace {

const QString kNormalSection = QStringLiteral("Normal");

int SegmentCountNumber() { return SegmentSettingNumber(g_SegmentCount).value_or(0); }

// Writes g_IniValue under `key` in section "Normal" of the library settings file; a failed write
// is shown, and the new value stays in memory all the same.
void WriteSegmentSetting(const QString& key) {
  g_IniResult = platform::WriteProfileString(LibrarySettingsFile(), kNormalSection, key, g_IniValue);
  if (g_IniResult == 0) platform::MsgBox(QStringLiteral("Error!"));
}

// The segment-number box shows the new segment: its number, or the caption of the new group.
// (g_GroupName takes the new group's caption at once, so the box never shows the group left
// behind, also when the cycle is kept.)
void ShowSegmentLabel() {
  if (!g_DoSegment) return;
  const QString label = SegmentLabel(CurrentSegmentNumber());
  if (CurrentSegmentKind() == SegmentKind::Group) g_GroupName = label;
  if (SkolvaneBar::loaded()) DrawUnicodeText(label);
}

// After a change: with fitAndStart the bar takes the height of its rows where it stands, comes
// on top and steps again, and the next change rebuilds; without it the next change keeps the
// cycle this one built.
void FitAndStartOrHandOver(bool fitAndStart) {
  if (!fitAndStart) {
    g_StatusRows = g_ShowStatus ? 1 : 0;
    g_SegmentRebuilt = true;
    return;
  }
  FitBarInPlaceAndStart();
  g_SegmentRebuilt = false;
}

void StepSegment(int direction, bool fitAndStart) {
  if (direction < 0 ? HasPrevSegment() : HasNextSegment()) {
    g_SegmentNo = FormatSegmentNumber(CurrentSegmentNumber() + direction);
    ShowSegmentLabel();
    g_IniValue = g_SegmentNo;
    WriteSegmentSetting(SegmentNumberKey());
    if (!g_SegmentRebuilt) PrepareSegment(false);
    FitAndStartOrHandOver(fitAndStart);
  }
  ApplyEditionCaption();
  RefreshInfoLabels();
  g_CyclePos = 1;
}

QString SegmentTypeCaption() {
  if (g_DoSegment) return SegmentsCaption(SegmentSettingNumber(g_SegmentCount).value_or(0));
  return WholeLibraryCaption();
}

}  // namespace

int CurrentSegmentNumber() { return SegmentSettingNumber(g_SegmentNo).value_or(0); }

bool IsTextReaderEdition() { return QCoreApplication::applicationName() == QLatin1String("CorvelTextReader"); }

QString SegmentNumberKey() {
  return IsTextReaderEdition() ? QStringLiteral("TextSegmentNo") : QStringLiteral("WordSegmentNo");
}

QString SegmentModeKey() {
  return IsTextReaderEdition() ? QStringLiteral("TextDoSegment") : QStringLiteral("WordDoSegment");
}

bool HasPrevSegment() { return CurrentSegmentNumber() > 1; }

bool HasNextSegment() { return SegmentCountNumber() > CurrentSegmentNumber(); }

QString SegmentLabel(int number) {
  if (CurrentSegmentKind() != SegmentKind::Group) return FormatSegmentNumber(number);
  if (number < 1 || number > g_GroupCount || number >= std::ssize(g_Groups)) return {};
  return g_Groups[static_cast<size_t>(number)].header;
}

void PrevSegment(bool fitAndStart) { StepSegment(-1, fitAndStart); }

void NextSegment(bool fitAndStart) { StepSegment(+1, fitAndStart); }

void ToggleSegmentMode(bool fitAndStart) {
  g_DoSegment = !g_DoSegment;
  g_IniValue = g_DoSegment ? QStringLiteral("X") : QString();
  WriteSegmentSetting(SegmentModeKey());
  if (!g_SegmentRebuilt) PrepareSegment(false);
  FitAndStartOrHandOver(fitAndStart);
  RefreshInfoLabels();
  frmSysMenu& menu = frmSysMenu::instance();
  menu.mnuSysTrayType->setCaption(SegmentTypeCaption());
  menu.ShowSegmentMode();
  if (SkolvaneBar::loaded()) SkolvaneBar::instance().AdjustObjects();
}

QString TextReaderEditionTitle() { return QStringLiteral("Corvel Text Reader"); }

void ApplyEditionCaption() {
  if (!IsTextReaderEdition() || !g_DoSegment || !SkolvaneBar::loaded()) return;
  SkolvaneBar& bar = SkolvaneBar::instance();
  bar.Pic_SegNo->setToolTip(QString());
  // The bar has one logo box (element 0); it carries the edition's tool tip.
  bar.logo[0]->setToolTip(TextReaderEditionTitle() + QStringLiteral(": ") + g_LibraryPath);
}
