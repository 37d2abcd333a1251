#pragma once
// The learner's progress on the bar: the pass rate and counts of the current range in the status
// row and the tool tip of the percentage box, the segment progress in segment mode, and the
// percentage box filled from the bottom, red up to the target rate and green above it. On the way
// the number of segments of the library (g_SegmentCount) is worked out again.

#include <QString>

#include <cstdint>
#include <optional>

// What the progress is computed from (the shared values, gathered by RefreshInfoLabels).
struct ProgressInputs {
  int rangeLines = 0;         // L: lines of the current learning range (g_LineCount)
  int libraryLastLine = 0;    // N: index of the last stored line of the library (g_LineCountCopy)
  int cycleRows = 0;          // Q: rows of the cycle (g_CycleCount)
  int segmentLines = 0;       // S: lines (or groups) of the current segment (g_SegmentLineCount)
  int segmentCycleRows = 0;   // SQ: cycle rows kept in segment mode (g_SegmentCycleCount)
  QString segmentSize;        // lines per segment, as text (g_SegmentSize)
  int groupCount = 0;         // word groups of the library (g_GroupCount)
  bool doSegment = false;     // segment mode (g_DoSegment)
  bool grouped = false;       // both group symbols set: one segment per group
  int learnMode = 1;          // g_LearnMode
};

// The interface texts the progress texts are made of (section SkolvaneBar of the language file).
struct ProgressWords {
  QString range;    // "Lbl_SysInfo_C": before the range progress
  QString segment;  // "Lbl_SysInfo_D": before the segment progress
  QString before;   // "Lbl_SysInfo_F": before the number of segments
  QString after;    // "Lbl_SysInfo_G": after it
};

struct ProgressReport {
  std::optional<QString> segmentCount;  // the new g_SegmentCount; none when it cannot be worked out
  QString toolTip;                      // tool tip of the percentage box
  QString status;                       // caption of the status label
  int barValue = 0;                     // V: how much of the percentage box is filled, in percent
};

// The progress texts and the fill value; none when the range is empty (L below 1), in which case
// nothing on the bar changes. `segmentCountText` is the current g_SegmentCount, used in the segment
// texts when it cannot be worked out again.
std::optional<ProgressReport> ComputeProgress(const ProgressInputs& inputs, const ProgressWords& words,
                                              const QString& segmentCountText);

// The two fills of the percentage box, in twips from its bottom edge: red up to the target rate
// (or up to the value when the target is not met), green for the part above the target.
struct ProgressFill {
  double redHeight = 0;
  double greenHeight = 0;
};
ProgressFill ComputeProgressFill(double boxHeight, int barValue, int targetPercent);

// Recomputes the progress and writes it into the bar: g_SegmentCount, the percentage box's tool
// tip and drawing, the status label; then repaints the segment-number box. Without a loaded bar
// only g_SegmentCount changes.
void RefreshInfoLabels();
