#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/forms/timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPainter>
#include <QThread>

namespace {

int g_loads = 0;
int g_unloads = 0;

class SampleForm : public platform::Form, public platform::DefaultInstance<SampleForm> {
 public:
  SampleForm() : Form("SampleForm") {
    Pic_Box = add<platform::PictureBox>("Pic_Box");
    Lbl_Info = add<platform::Label>("Lbl_Info");
    Tim_Tick = add<platform::Timer>("Tim_Tick");
    Lbl_Array0 = addIndexed<platform::Label>("Lbl_Array", 0);
    Lbl_Array1 = addIndexed<platform::Label>("Lbl_Array", 1);
    mnuRoot = addMenuItem("mnuRoot", nullptr, platform::MenuItem::Kind::Submenu, "root");
    mnuSub = addMenuItem("mnuSub", mnuRoot, platform::MenuItem::Kind::Submenu, "sub");
    mnuCommand = addMenuItem("mnuCommand", mnuSub, platform::MenuItem::Kind::Command, "command");
    mnuSeparator = addMenuItem("S1", mnuSub, platform::MenuItem::Kind::Separator, "-");
  }
  void Form_Load() override { ++g_loads; }
  void Form_Unload() override {
    ++g_unloads;
    // The unload handler can still reach its own controls through the default instance.
    instance().Lbl_Info->setCaption("unloading");
  }

  platform::PictureBox* Pic_Box;
  platform::Label* Lbl_Info;
  platform::Timer* Tim_Tick;
  platform::Label* Lbl_Array0;
  platform::Label* Lbl_Array1;
  platform::MenuItem* mnuRoot;
  platform::MenuItem* mnuSub;
  platform::MenuItem* mnuCommand;
  platform::MenuItem* mnuSeparator;
};

void RunEventsFor(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

TEST(DefaultInstance, CreatesOnFirstUseRunsHandlersAndCreatesAnewAfterUnload) {
  g_loads = g_unloads = 0;
  EXPECT_FALSE(SampleForm::loaded());
  SampleForm& first = SampleForm::instance();
  EXPECT_TRUE(SampleForm::loaded());
  EXPECT_EQ(&first, &SampleForm::instance());
  EXPECT_EQ(g_loads, 1);

  SampleForm::unload();
  EXPECT_FALSE(SampleForm::loaded());
  EXPECT_EQ(g_unloads, 1);
  SampleForm::unload();  // unloading a form that is not loaded does nothing
  EXPECT_EQ(g_unloads, 1);
  platform::DeleteUnloadedForms();

  SampleForm::instance();
  EXPECT_EQ(g_loads, 2);
  platform::UnloadAllForms();
  EXPECT_FALSE(SampleForm::loaded());
  EXPECT_EQ(g_unloads, 2);
}

TEST(Form, KeepsControlsInCreationOrderUnderTheirNames) {
  SampleForm& form = SampleForm::instance();
  std::vector<QString> names;
  for (QObject* control : form.controls()) names.push_back(control->objectName());
  const std::vector<QString> expected{"Pic_Box",   "Lbl_Info", "Tim_Tick", "Lbl_Array", "Lbl_Array",
                                      "mnuRoot",   "mnuSub",   "mnuCommand", "S1"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(form.control("Lbl_Array", 1), form.Lbl_Array1);
  EXPECT_EQ(form.control("Lbl_Info"), form.Lbl_Info);
  EXPECT_EQ(form.control("missing"), nullptr);
  SampleForm::unload();
}

TEST(Timer, IntervalZeroNeverTicksAndEnablingStartsIt) {
  SampleForm& form = SampleForm::instance();
  int ticks = 0;
  form.Tim_Tick->onTimer = [&] { ++ticks; };
  form.Tim_Tick->setInterval(0);
  form.Tim_Tick->setEnabled(true);
  RunEventsFor(60);
  EXPECT_EQ(ticks, 0);

  form.Tim_Tick->setInterval(10);
  RunEventsFor(100);
  EXPECT_GE(ticks, 3);

  form.Tim_Tick->setEnabled(false);
  const int stopped = ticks;
  RunEventsFor(60);
  EXPECT_EQ(ticks, stopped);
  SampleForm::unload();
}

TEST(PictureBox, KeepsItsDrawingAndClearsToTheBackColour) {
  SampleForm& form = SampleForm::instance();
  platform::PictureBox& box = *form.Pic_Box;
  box.twips().move(0, 0, 300, 150);  // 20 x 10 pixels
  EXPECT_EQ(box.size(), QSize(20, 10));
  box.setBackColor(Qt::yellow);
  box.draw([](QPainter& p) { p.fillRect(QRect(0, 0, 5, 5), Qt::blue); });
  EXPECT_EQ(box.image().pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(box.image().pixelColor(10, 8), QColor(Qt::yellow));

  box.twips().setWidth(450);  // growing keeps what was drawn
  EXPECT_EQ(box.image().pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(box.image().pixelColor(25, 8), QColor(Qt::yellow));

  box.cls();
  EXPECT_EQ(box.image().pixelColor(2, 2), QColor(Qt::yellow));
  SampleForm::unload();
}

TEST(Label, ShowsAmpersandsAsTheyStand) {
  SampleForm& form = SampleForm::instance();
  form.Lbl_Info->setCaption("Q&A");
  EXPECT_EQ(form.Lbl_Info->caption(), "Q&A");
  EXPECT_EQ(form.Lbl_Info->textFormat(), Qt::PlainText);
  SampleForm::unload();
}

TEST(MenuItem, ChecksOnlyWhenTheProgramSetsThemAndBuildsTheTree) {
  SampleForm& form = SampleForm::instance();
  int clicks = 0;
  form.mnuCommand->onClick = [&] { ++clicks; };
  form.mnuCommand->click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(form.mnuCommand->checked());

  form.mnuCommand->setChecked(true);
  form.mnuCommand->click();  // a click does not flip the mark by itself
  EXPECT_TRUE(form.mnuCommand->checked());
  EXPECT_TRUE(form.mnuCommand->action()->isChecked());

  form.mnuCommand->setEnabled(false);
  form.mnuCommand->click();
  EXPECT_EQ(clicks, 2);

  form.mnuSub->setCaption("renamed");
  EXPECT_EQ(form.mnuSub->caption(), "renamed");
  ASSERT_EQ(form.mnuRoot->menu()->actions().size(), 1);
  EXPECT_EQ(form.mnuRoot->menu()->actions()[0]->text(), "renamed");
  EXPECT_EQ(form.mnuSub->menu()->actions().size(), 2);
  EXPECT_TRUE(form.mnuSub->menu()->actions()[1]->isSeparator());
  SampleForm::unload();
}

}  // namespace
