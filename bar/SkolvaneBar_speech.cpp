// The bar's speech handlers: the 100 ms queue tick that speaks the waiting meaning once the word
// side is silent, and the word-side control's speech-off event.
#include "bar/SkolvaneBar.h"
#include "core/speech_bas.h"

void SkolvaneBar::Tim_Chk_Speaking_Timer() { SpeechQueueTick(); }

// The speech control here raises no such event; the handler stays for a control that gives up.
void SkolvaneBar::spkSpeakSource_SpeechOff(std::int32_t, std::int32_t) { SpeechOff(); }
