#pragma once
// The word bar: a small borderless window kept on top of all others that shows one row of the
// learning cycle at a time, with its phonetic row, meaning rows, picture and status row.

#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/timer.h"
#include "platform/speech/speech_control.h"

#include <array>
#include <cstdint>

class SkolvaneBar : public platform::Form, public platform::DefaultInstance<SkolvaneBar> {
  Q_OBJECT

 public:
  SkolvaneBar();
  ~SkolvaneBar() override;

  // Public procedures.
  void font_adjust();    // lets the learner choose the bar font and applies it
  void paint_pos();      // redraws the position marker of the progress strip
  void AdjustObjects();  // lays out every box and label from the show settings
  void runtimer();       // one step of the word cycle

  // Handlers.
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload() override;
  void Tim_Wait_Timer();
  void Tim_KeyHook_Timer();
  void Tim_Chk_Speaking_Timer();
  void spkSpeakSource_SpeechOff(std::int32_t, std::int32_t);
  void Pic_ShowText_Paint();
  void Pic_SegNo_Paint();
  void Pic_percent_Paint();
  void Pic_Pos_Paint();
  void MWheel1_WheelScroll(std::int16_t zDelta);

  // Controls, in creation order.
  platform::PictureBox* Pic_ShowPicture;      // picture row: library cover or word picture
  platform::PictureBox* Pic_ShowPhonetic;     // phonetic row
  platform::PictureBox* Pic_ShowText;         // word row
  platform::PictureBox* Pic_ShowLongMeaning;  // meaning rows
  platform::PictureBox* Pic_percent;          // percentage and counter texts
  platform::PictureBox* Pic_Hourglass;        // hourglass, shown in wait mode
  std::array<platform::PictureBox*, 3> Pic_Speak;  // sound indicators
  std::array<platform::PictureBox*, 1> logo;       // logo at the left end of the status row
  platform::Label* Lbl_SysInfo;               // status text
  platform::PictureBox* Pic_SegNo;            // segment number or group name
  platform::Label* Lbl_Counter;               // four-digit position counter
  platform::PictureBox* Pic_Pos;              // progress strip with the position marker

  platform::Timer* Tim_Wait;          // the word cycle
  platform::Timer* Tim_Chk_Speaking;  // the speech queue
  platform::Timer* Tim_KeyHook;       // hot-key dispatch
  platform::Timer* Timer1;            // follows the cursor while the bar is dragged

  platform::SpeechControl spkSpeakSource;  // speech control of the word side (engine by locale)
  platform::SpeechControl spkSpeakTarget;  // speech control of the meaning side
};
