#pragma once
// The common frame of the download windows: a borderless window with a title strip (Picture1,
// dragging the window), its title label (Lbl_Topic) and a close box (Picture2). Each window adds
// its own controls below the strip and says what its close box does. The windows open in the
// middle of the screen.

#include "platform/forms/form.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/window/drag.h"

class WebDownloadWindow : public platform::Form {
  Q_OBJECT

 public:
  // The strip's height in pixels; a window places its controls below it.
  static constexpr int kTitleHeight = 30;

  WebDownloadWindow(const QString& name, const QSize& size, const QString& topic);

  platform::PictureBox* Picture1;  // title strip: pressing it drags the window
  platform::Label* Lbl_Topic;      // the title
  platform::PictureBox* Picture2;  // close box

 protected:
  // Captions the controls from the language file and titles the window like its title label,
  // so the window list shows it in the learner's language.
  void applyLanguage();
  virtual void Picture2_Click() = 0;

 private:
  void Picture1_MouseDown();
  void paintFrame();

  platform::WindowDrag drag_{*this};
};
