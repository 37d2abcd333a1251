#pragma once
// The shared state of the main program. Every window and core module reads and writes these
// values directly; they live for the whole run. Grouped by topic, one line each on what they hold.

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// ---- Library identity -------------------------------------------------------------------------
inline QString g_LibraryPath;      // full path of the open .abc file
inline QString g_LibraryFolder;    // its folder, ending in the path separator
inline QString g_LibraryFileName;  // its file name
inline QString g_LibraryTitle;     // the same name, for the bar's caption and the tray tip
inline QString g_ComputerSection;  // names this computer's window-position section in library settings files
inline QString g_CommandLine;      // the command line the program was started with (empty: library manager)

// ---- Library manager --------------------------------------------------------------------------
inline QString g_CategoryFilter = QStringLiteral("X");  // the manager's category letter, "X" = all categories
inline QString g_CurrentSection;        // TopicList.ini section the next list fill is to select (Add, downloads)
inline std::int16_t g_CurrentComboIndex = -1;  // list position at which the last fill listed g_CurrentSection
inline QString g_ComboItemText;         // the manager's remembered selection ("[ n]" + section, or an item text)
inline bool g_LibraryAdded = false;     // the web catalogue registered at least one library

// ---- Library tables ---------------------------------------------------------------------------
// Raw line table: every stored line of the open library in file order, index 0 = header line.
// Entries above g_LineCountCopy may keep text of an earlier library and are never read.
inline std::vector<QString> g_WordLines;
inline std::int16_t g_LineCount = 0;      // after loading: index of the last stored line; later the segment's line count
inline std::int16_t g_LineCountCopy = 0;  // the loaded last index, kept for the writer and the segment builder

struct WordGroup {
  std::int16_t lineCount = 0;  // lines after the header up to the next header
  QString header;              // the header line's text (the group's caption)
};
inline std::vector<WordGroup> g_Groups;  // 1-based: g_Groups[1] .. g_Groups[g_GroupCount]; index 0 unused
inline std::int16_t g_GroupCount = 0;    // number of group headers found
inline QString g_GroupName;              // last header met while loading; later the current group's caption
inline QString g_SourceLang;             // language letter of the words (header line)
inline QString g_TargetLang;             // language letter of the meanings (header line)

// ---- Segment ----------------------------------------------------------------------------------
struct SegmentLine {
  QString text;      // the line
  QString rawIndex;  // its index in g_WordLines, as decimal text
};
inline std::vector<SegmentLine> g_SegmentLines;  // lines of the current segment, from row 0
inline std::int16_t g_SegmentLineCount = 0;      // lines of the current fixed segment, or the group count
inline QString g_SegmentCount;                   // number of segments, as decimal text
inline std::int16_t g_SegmentCycleCount = 0;     // cycle rows kept while segment mode is on
inline bool g_SegmentRebuilt = false;            // the last segment change already rebuilt and fitted the bar

// ---- Learning cycle ---------------------------------------------------------------------------
struct CycleRow {
  QString text;          // the text shown
  QString segmentIndex;  // the line's row in g_SegmentLines, as decimal text
  QString atPosition;    // position of "@" in the line, as decimal text
};
inline std::vector<CycleRow> g_CycleTable;  // row p - 1 belongs to position p
inline std::int16_t g_CyclePos = 1;         // position of the row to show next, from 1
inline std::int16_t g_CycleFirst = 1;       // first position of the current range
inline std::int16_t g_CycleLast = 1;        // last position of the current range
inline std::int16_t g_CycleCount = 0;       // rows in the cycle; 0 = nothing to show
inline QString g_CurrentText;               // the row now on the bar, or a status text
inline bool g_ResampleColor = false;        // the next shown item samples the screen colour once
inline bool g_RangeChanged = false;         // a kill just changed the range; the next step tolerates one past the end
inline bool g_RestartCycle = false;         // the next step starts at position 1

// ---- Settings (one value per key of the settings files) ---------------------------------------
inline std::int32_t g_Speed = 2000;           // word interval, milliseconds (WordSpeed)
inline QString g_SoundMode;                   // "0" mute, "1" word, "2" word and meaning (WordSpeak)
inline std::int16_t g_LearnMode = 1;          // 0, 1 or 2 (WordLearnMode)
inline bool g_Wait = false;                   // hold: the cycle does not advance by itself (WordWait)
inline bool g_DoSegment = false;              // learn by segments (WordDoSegment)
inline QString g_SegmentNo;                   // current segment, four digits (WordSegmentNo)
inline QString g_SegmentSize;                 // "30", "60" or "90" (WordSegmentSize)
inline bool g_ShowMain = false;               // bar window shown (WordShowMain)
inline bool g_ShowStatus = false;             // status row (WordShowStatus)
inline bool g_ShowHour = false;               // hourglass box (WordShowHour)
inline bool g_ShowResize = false;             // resize handle (WordShowResize)
inline bool g_ShowProgress = false;           // progress box (WordShowProgress)
inline bool g_ShowSegNo = false;              // segment-number box (WordShowSegNo)
inline bool g_ShowCounter = false;            // word counter (WordShowCounter)
inline bool g_ShowPhonetic = false;           // phonetic row (WordShowPhonetic)
inline bool g_ShowLongMeaning = false;        // meaning rows (WordShowLongMeaning)
inline bool g_ShowPicture = false;            // picture box (WordShowPicture)
inline std::int32_t g_WindowX = 0;            // bar left edge, screen pixels (WindowX)
inline std::int32_t g_WindowY = 0;            // bar top edge, screen pixels (WindowY)
inline std::int16_t g_WindowW = 432;          // bar width, pixels (WindowW)
inline std::int32_t g_ForeColor = 0;          // text colour, 0x00BBGGRR (WordForeColor)
inline std::int32_t g_BackColor = 16777215;   // back colour, 0x00BBGGRR (WordBackColor)
inline bool g_ColorNull = false;              // chameleon: take the screen colour under the bar (WordColorNull)
inline bool g_Transparent = false;            // translucent bar (WordTransparent)
inline QString g_UILanguage;                  // interface language letter (WordUILanguage)
inline QString g_TargetPercentage;            // target pass rate "33", "66", "80", "90" (WordTargetPercentage)
inline QString g_FontSpec;                    // bar font "name;charset:size" (WordFont)
inline std::int32_t g_MeaningBarPercent = 50; // meaning text size as a percentage of the word text
inline std::int16_t g_MeaningRows = 0;        // number of meaning rows (WordMeaningRows)
inline QString g_GameBestScore;               // best card-game turn count, two digits (WordGameScore)
inline QString g_GameBestTime;                // best card-game time hh:mm:ss (WordGameScore)
inline QString g_PhoneticSymbolStart;         // opens the phonetic part of a line
inline QString g_PhoneticSymbolEnd;           // closes it
inline QString g_MeaningSymbolStart;          // opens the meaning keyword
inline QString g_MeaningSymbolEnd;            // closes it
inline QString g_GroupSymbolStart;            // marks a group header line (empty: no groups)
inline QString g_GroupSymbolEnd;              // its closing character
inline QString g_UserIdentity;                // the learner's identity "name@host" (login name, host name) for the game and score board

// ---- Card game ----------------------------------------------------------------------------------
// The deck of one game: "0007A" = line 7 of the current segment, word side; "0007B" its meaning.
// Entry i is card i; entries past the dealt cards are empty.
inline std::array<QString, 12> g_CardDeck;
inline QString g_TempFolder;  // the folder holding this game's card pictures (empty: none)

// ---- INI staging ------------------------------------------------------------------------------
inline QString g_IniValue;      // the value of the settings write in progress
inline long g_IniResult = 0;    // result of the last settings write (0 = failure)

// ---- Bar state --------------------------------------------------------------------------------
inline bool g_BarShown = false;          // drawing into the bar's boxes happens only while on
inline int g_StatusRows = 0;             // 1 when the status row is shown, else 0
inline int g_TextBoxHeight = 0;          // height of the word box (twips) after the font was applied
inline std::int32_t g_ColorSampleX = 0;  // screen point whose colour the chameleon mode takes
inline std::int32_t g_ColorSampleY = 0;
inline std::int32_t g_PixelColor = -1;   // the colour last sampled there, 0x00BBGGRR (-1: none)
inline bool g_KillBusy = false;          // a kill is running; a second one waits

// ---- Moving and resizing the bar ----------------------------------------------------------------
inline bool g_IsDragging = false;  // a press on a display box started a move; cleared when the place is saved
inline double g_MouseDownX = 0;    // X of the last press on the bar window itself, twips
inline double g_MouseUpX = 0;      // X of the last release on the bar window itself, twips

// ---- Monitors (checked when the bar starts) -----------------------------------------------------
inline std::int16_t g_MonitorCount = 0;  // monitors the enumeration reported
inline bool g_BarOffScreen = false;      // the stored bar position lies outside the monitors
inline QString g_LastMonitor;            // handle (decimal) of the last monitor with a left edge at 0 or more
inline QString g_BarMonitor;             // handle (decimal) of the monitor nearest to the bar

// ---- Drawing ----------------------------------------------------------------------------------
struct PieceRow {
  QString Char;         // one character of the word line outside the phonetic symbols
  QString PrefixText;   // the word line outside the phonetic symbols, up to and including this piece
  QString CharWidth;    // width of Char in the word box's font, pixels, as decimal text
  QString PrefixWidth;  // width of PrefixText in the word box's font, pixels (the piece's right edge)
  QString Reading;      // the phonetic text placed over this piece (empty = none)
  QString ReadingSpan;  // pieces the reading covers, as decimal text ("1" unless a run)
};
inline std::vector<PieceRow> g_Pieces;  // pieces of the last word-line pass, 1-based; row 0 unused
inline std::int16_t g_PieceCount = 0;   // pieces made by the last pass (0: none, or the pass was skipped)
inline std::int16_t g_PieceIndex = 0;   // readings handed out by the last pass

// ---- Speech (the voice objects live in core/speech_bas.h) ---------------------------------------
inline QString g_VoiceLCID;               // locale identifier (decimal text) looked for among the word side's engines
inline QString g_MeaningLCID;             // locale identifier looked for among the meaning side's engines
inline bool g_WordVoiceFound = false;     // the word side has an engine or voice
inline bool g_MeaningVoiceFound = false;  // the meaning side has an engine or voice
inline QString g_PendingSpeech;           // the text waiting in the speech queue (the meaning)
inline QString g_LastSpoken;              // the text the queue spoke last; it is not spoken twice in a row
inline QString g_LastSpokenWord;          // the word the word step spoke last (a kill sets ":" to have it said again)
inline QString g_LastCurrentSpoken;       // the word the kill's speaking last gave the word-side control
inline bool g_KillSpeaking = false;       // a kill is running: the kill's speaking says at most one word
inline int g_KillSpeakCount = 0;          // words the kill's speaking has said during this kill

// ---- Score board --------------------------------------------------------------------------------
inline bool g_AbortWeb = false;     // set to end the score board's posting run at once
inline QString g_TopListText;       // the last score list the posting run wrote, for the top list
inline QString g_WebStatusText;     // the posting run's current step name (set on log-off)

// ---- Web catalogue and downloads (kept between openings of the catalogue) ---------------------
struct WebCategory {
  QString key;        // the category's server-list section key ("AC" ... "SC")
  int itemCount = 0;  // its item count from [ALL], 0 when missing
};
inline std::vector<WebCategory> g_WebCategories;  // 1-based: rows 1 to 30, filled by the catalogue window

struct WebLibItem {
  QString checked;       // "1" checked, "0" unchecked, empty never set
  QString fromFileName;  // FROM_FILENAME value
  QString toFileName;    // TO_FILENAME value
  QString description;   // DESC_ value
  int parts = 1;         // VOLUMN, the number of files of a multi-part set
};
// [category 1..30][list row 1..99], row index = the item's position in the list as filled.
inline std::vector<std::vector<WebLibItem>> g_WebLibChecked;

// ---- Start values -------------------------------------------------------------------------------
// Puts every shared value back to its start value: the globals above, those declared in the core
// modules' headers (hot keys, kill, cycle, loader, speech voices, tray); removes the keyboard hook
// and the card game's picture folder, gives up the library lock, forgets the library file's
// stamp and puts Qt's own texts back into the start language. Tests start from it, so no test sees what an earlier one left behind. A new shared value
// joins the lists in vars_bas.cpp.
void ResetSharedState();
