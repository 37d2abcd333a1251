#pragma once
// The frame the three statistics charts share: a borderless window centred on the screen, a
// title picture the learner drags it by, a close picture that unloads it, a rule under the title,
// the window's title label and the chart box. Each chart adds its readout labels and draws into
// Picture_chart. Places are in twips.

#include "platform/forms/form.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/window/drag.h"

#include <QRectF>

class QFrame;

class ChartFrame : public platform::Form {
  Q_OBJECT

 public:
  // `topic` is Lbl_Topic's design caption; `chartPlace` the chart box's left, top, width, height.
  ChartFrame(const QString& name, const QString& topic, const QRectF& chartPlace);
  ~ChartFrame() override;

  // Handlers of the title strip and the close button.
  void Picture1_MouseDown(int button, int shift, double x, double y);
  void Picture2_Click();

  platform::PictureBox* Picture1;       // title strip; pressing it drags the window
  platform::PictureBox* Picture2;       // close button
  QFrame* Frame2;                       // rule under the title strip
  platform::Label* Lbl_Topic;           // window title
  platform::PictureBox* Picture_chart;  // the chart

 protected:
  // A label of the readout row under the chart (top 2880, 255 twips high).
  platform::Label* addRowLabel(const QString& name, double left, double width, const QString& caption);
  // Applies the language texts and titles the window like its title label.
  void applyCaptions();

 private:
  platform::WindowDrag drag_{*this};
};
