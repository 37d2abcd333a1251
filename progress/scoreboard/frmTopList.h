#pragma once
// The top-list window: after a posting, five rows of the forum's score board (rank, a pointer at
// the player's own rank, score, user), taken from g_TopListText. Borderless; dragged by its title
// picture, closed by its close picture.

#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/window/drag.h"

#include <array>

class frmTopList : public platform::Form, public platform::DefaultInstance<frmTopList> {
  Q_OBJECT

 public:
  static constexpr int kRows = 5;

  frmTopList();
  ~frmTopList() override;

  void Form_Load() override;

  platform::PictureBox* Pic_Title;
  platform::PictureBox* Picture2;  // the close picture
  platform::Label* Lbl_Topic;
  platform::Label* Lbl_SeqTitle;
  platform::Label* Lbl_UserTitle;
  platform::Label* Lbl_ScoreTitle;
  std::array<platform::Label*, kRows> Lbl_Seq{};
  std::array<platform::Label*, kRows> Lbl_Point{};
  std::array<platform::Label*, kRows> Lbl_ValueTime{};
  std::array<platform::Label*, kRows> Lbl_User{};

 private:
  void Pic_Title_MouseDown();
  void Picture2_Click();

  platform::WindowDrag drag_{*this};
};
