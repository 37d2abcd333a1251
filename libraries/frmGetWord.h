#pragma once
// The dictionary look-up pop-up, the second way to use a library: instead of stepping through its
// words on the bar, the learner selects a word in any program and this small window, always on
// top in the top-left corner of the screen, shows the word and its meaning from the library's
// dictionary files (see dictionary_lookup.h). The manager's Search opens it for the library in
// the library globals; closing it brings the manager back.
//
// It has its own tray icon: a left click brings the window back after it was minimised (it hides
// then, when there is a tray to bring it back from), a right click opens frmSysMenuDict's menu.
// The words come from a word grabber (platform/wordcapture) to which the window is registered as
// the receiver; the capture lives exactly as long as the window.

#include "platform/forms/default_instance.h"
#include "platform/forms/picture_box.h"
#include "platform/tray/tray_icon.h"
#include "platform/window/drag.h"
#include "platform/wordcapture/word_grabber.h"

#include <QStringList>
#include <QVariant>

#include <memory>

class frmGetWord : public platform::Form,
                   public platform::DefaultInstance<frmGetWord>,
                   public platform::IXDictGrabSink {
  Q_OBJECT

 public:
  frmGetWord();
  ~frmGetWord() override;

  // Handlers.
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload() override;
  // The tray icon's mouse messages (514/515 left button: restore; 517 right button: the menu).
  void Form_MouseMove(int message);
  void Form_Resize();
  void Picture1_MouseDown();
  void Picture3_MouseDown();
  void Picture2_Click();

  // The grabber's report: looks the word up. Always returns 0.
  std::int32_t QueryWord(const QString& WordString, std::int32_t lCursorX, std::int32_t lCursorY,
                         const QString& SentenceString, std::int32_t lLoc, std::int32_t lStart) override;

  // Looks the selected text up (whole, else its first word) and shows the key found with its
  // meaning, on top of every window.
  void CaptureReady1(const QVariant& word);

  // Whether unloading the window shows the library manager again (it does unless the program is
  // ending).
  void setReturnToManager(bool returnToManager) { returnToManager_ = returnToManager; }

  // The rows of the last meaning shown, the empty last row included.
  const QStringList& lines() const { return m_Lines; }
  bool trayIconShown() const { return trayIcon_.inTray(); }

  // Controls, in creation order.
  platform::PictureBox* Picture2;  // close button
  platform::PictureBox* Picture1;  // heading: the looked-up word or the hint; pressing it drags the window
  platform::PictureBox* Picture3;  // the meaning; pressing it drags the window

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void DrawHint();
  void ShowAtPlace(int heightPixels);

  std::unique_ptr<platform::WordGrabber> m_Grabber;
  QStringList m_Lines;
  platform::TrayIcon trayIcon_;  // the pop-up's own tray icon, shown while the window lives
  platform::WindowDrag drag_{*this};
  bool returnToManager_ = true;
};
