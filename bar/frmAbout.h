#pragma once
// The about box: the program's title line with its full version, a contact line, a web-address
// line and two pictures. Shown modally from the tray menus; the first click anywhere on it closes
// it. Each showing loads it afresh, so the revision is appended to the title line once.

#include "platform/forms/default_instance.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/text_box.h"

#include <array>

class frmAbout : public platform::Form, public platform::DefaultInstance<frmAbout> {
  Q_OBJECT

 public:
  frmAbout();
  ~frmAbout() override;

  void Form_Load() override;

  // Handlers: every one closes the box.
  void Form_Click();
  void Picture1_Click();
  void Picture2_Click();
  void Text1_Click(int index);

  std::array<platform::TextBox*, 3> Text1;  // title line, contact address, web address
  platform::PictureBox* Picture1;           // the banner
  platform::PictureBox* Picture2;           // the emblem beside the texts

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
};
