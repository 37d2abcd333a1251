#pragma once
// The word bar: a small borderless window kept on top of all others that shows one row of the
// learning cycle at a time, with its phonetic row, meaning rows, picture and status row.

#include "bar/MWheel.h"
#include "bar/SysTrayCls.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/timer.h"
#include "platform/speech/speech_control.h"
#include "platform/window/drag.h"

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

  // Whether the bar window is to be seen: while WordShowMain is on, and always while there is no
  // tray icon (the bar is then the only way to its menu).
  bool VisibleBySettings() const;

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
  void Pic_ShowPhonetic_Paint();
  void Pic_ShowLongMeaning_Paint();

  // Mouse (SkolvaneBar_mouse.cpp): the four display boxes move the bar and pause it while the
  // pointer rests on them (x, y in the box's pixels); the bar window itself takes the resize by
  // its right edge (x, y in twips); Timer1 follows a move.
  void DisplayBox_MouseDown(platform::PictureBox& box, int button, int shift, double x, double y);
  void DisplayBox_MouseMove(platform::PictureBox& box, int button, int shift, double x, double y);
  void DisplayBox_MouseUp(platform::PictureBox& box, int button, int shift, double x, double y);
  void Form_MouseDown(int button, int shift, double x, double y);
  void Form_MouseUp(int button, int shift, double x, double y);
  void Timer1_Timer();
  // Tray clicks (SkolvaneBar_tray.cpp): the tray icon's mouse messages.
  void SysTray_MouseMessage(int message);

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
  MWheel* MWheel1;                    // turns the wheel over the word row into steps

  SysTrayCls SysTray;  // the bar's tray icon

  platform::SpeechControl spkSpeakSource;  // speech control of the word side (engine by locale)
  platform::SpeechControl spkSpeakTarget;  // speech control of the meaning side

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ConnectMouseHandlers();
  void ShowTrayIcon();
  // Pops the tray menu up at the pointer, the bar brought forward first.
  void PopTrayMenu();

  platform::WindowDrag drag_{*this};
  bool pressedOnWindow_ = false;  // the last press was on the bar window itself, not on a control
};
