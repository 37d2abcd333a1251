#include "core/vars_bas.h"

#include "bar/SysTrayCls.h"
#include "bar/library_lock.h"
#include "bar/menu_settings_write.h"
#include "core/KeyBoardHook_bas.h"
#include "core/cycle_bas.h"
#include "core/do_loading_bas.h"
#include "core/kill_bas.h"
#include "core/language_bas.h"
#include "core/library_file_stamp.h"
#include "core/speech_bas.h"
#include "progress/game/card_picture_folder.h"

#include <tuple>

namespace {

// Some shared values with a copy of their start values. The copies are taken during static
// initialisation, after the headers' initialisers ran (they are defined above in this file) and
// before main: each start value is written only once, where its global is declared.
template <typename... T>
class StartValues {
 public:
  explicit StartValues(T&... values) : values_(values...), start_(values...) {}
  void restore() { values_ = start_; }

 private:
  std::tuple<T&...> values_;
  std::tuple<T...> start_;
};

StartValues libraryIdentity(g_LibraryPath, g_LibraryFolder, g_LibraryFileName, g_LibraryTitle, g_ComputerSection,
                            g_CommandLine);

StartValues libraryManager(g_CategoryFilter, g_CurrentSection, g_CurrentComboIndex, g_ComboItemText, g_LibraryAdded);

StartValues webCatalogue(g_WebCategories, g_WebLibChecked);

StartValues libraryTables(g_WordLines, g_LineCount, g_LineCountCopy, g_Groups, g_GroupCount, g_GroupName,
                          g_SourceLang, g_TargetLang, g_LibraryRefused);

StartValues segmentAndCycle(g_SegmentLines, g_SegmentLineCount, g_SegmentCount, g_SegmentCycleCount,
                            g_SegmentRebuilt, g_CycleTable, g_CyclePos, g_CycleFirst, g_CycleLast, g_CycleCount,
                            g_CurrentText, g_ResampleColor, g_RangeChanged, g_RestartCycle, g_CycleIsCut);

StartValues learning(g_Speed, g_SoundMode, g_LearnMode, g_Wait, g_DoSegment, g_SegmentNo, g_SegmentSize,
                     g_TargetPercentage, g_GameBestScore, g_GameBestTime, g_UserIdentity);

StartValues display(g_ShowMain, g_ShowStatus, g_ShowHour, g_ShowResize, g_ShowProgress, g_ShowSegNo, g_ShowCounter,
                    g_ShowPhonetic, g_ShowLongMeaning, g_ShowPicture, g_WindowX, g_WindowY, g_WindowW, g_ForeColor,
                    g_BackColor, g_ColorNull, g_Transparent, g_UILanguage, g_FontSpec, g_MeaningBarPercent,
                    g_MeaningRows);

StartValues symbols(g_PhoneticSymbolStart, g_PhoneticSymbolEnd, g_MeaningSymbolStart, g_MeaningSymbolEnd,
                    g_GroupSymbolStart, g_GroupSymbolEnd);

StartValues barState(g_IniValue, g_IniResult, g_BarShown, g_StatusRows, g_TextBoxHeight, g_ColorSampleX,
                     g_ColorSampleY, g_KillBusy, g_MonitorCount, g_BarOffScreen, g_LastMonitor, g_BarMonitor,
                     g_IsDragging, g_MouseDownX, g_MouseUpX, g_MissingTrayTold, g_PixelColor,
                     g_SettingsWriteFailureTold);

StartValues drawing(g_Pieces, g_PieceCount, g_PieceIndex);

StartValues cardGame(g_CardDeck, g_TempFolder);

StartValues scoreBoard(g_AbortWeb, g_TopListText, g_WebStatusText);

StartValues speechAndKill(g_VoiceLCID, g_MeaningLCID, g_WordVoiceFound, g_MeaningVoiceFound, g_PendingSpeech,
                          g_LastSpoken, g_LastSpokenWord, g_LastCurrentSpoken, g_KillSpeaking, g_KillSpeakCount,
                          g_KillSavedPos);

StartValues hotKeys(g_LastHotKey, g_LastKillTime, g_HookFailureTold);

}  // namespace

void ResetSharedState() {
  RemoveKeyboardHook();  // g_hKeyHook and g_KeyHooked go back with the hook itself
  RemoveCardPictureFolder();
  UnlockLibrary();
  ForgetLibraryFile();
  g_VoiceWord.reset();
  g_VoiceMeaning.reset();
  g_VoiceEnglish.reset();
  libraryIdentity.restore();
  libraryManager.restore();
  webCatalogue.restore();
  libraryTables.restore();
  segmentAndCycle.restore();
  learning.restore();
  display.restore();
  symbols.restore();
  barState.restore();
  drawing.restore();
  cardGame.restore();
  scoreBoard.restore();
  speechAndKill.restore();
  hotKeys.restore();
  // Qt's own texts (message box buttons, Qt's error texts) follow the interface language, which
  // is back at its start value: a Chinese catalogue left installed would speak to the next user.
  FollowUILanguageInQtTexts();
}
