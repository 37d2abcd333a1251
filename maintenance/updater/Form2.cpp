#include "maintenance/updater/Form2.h"

#include "maintenance/installer_settings.h"
#include "platform/forms/twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr int kRunDelayMilliseconds = 1000;

// The window's texts: as designed for Chinese, English for every other letter.
struct WindowTexts {
  const char16_t* caption;
  const char16_t* label1;
};
constexpr WindowTexts kChineseTexts{u"正在更新...", u"正在从服务器更新。。。"};
constexpr WindowTexts kEnglishTexts{u"Updating...", u"Updating From Server..."};

}  // namespace

Form2::Form2() : platform::Form(QStringLiteral("Form2")) {
  setFixedSize(360, 84);
  Label1 = add<platform::Label>(QStringLiteral("Label1"));
  Label1->setGeometry(16, 14, 328, 22);
  Label1->setCaption(QString::fromUtf16(kChineseTexts.label1));
  Lbl_Desc = add<platform::Label>(QStringLiteral("Lbl_Desc"));
  Lbl_Desc->setGeometry(16, 42, 328, 28);
  Lbl_Desc->setWordWrap(true);
  setCaption(QString::fromUtf16(kChineseTexts.caption));
  Timer1 = add<platform::Timer>(QStringLiteral("Timer1"));
  Timer1->onTimer = [this] { Timer1_Timer(); };
  Timer1->setInterval(kRunDelayMilliseconds);
}

void Form2::Form_Load() {
  Timer1->setEnabled(false);
  // One fifteenth of the screen's width and height from its top-left corner.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + area.width() / platform::kTwipsPerPixel, area.y() + area.height() / platform::kTwipsPerPixel);
  }
  m_Language = installer::ReadLanguage();
  const WindowTexts& texts = installer::IsChinese(m_Language) ? kChineseTexts : kEnglishTexts;
  setCaption(QString::fromUtf16(texts.caption));
  Label1->setCaption(QString::fromUtf16(texts.label1));
  m_RunPending = true;
  Timer1->setEnabled(true);
}

void Form2::Timer1_Timer() {
  if (!m_RunPending || m_UpdateRun == nullptr) return;
  m_RunPending = false;
  m_Running = true;
  const UpdateOutcome outcome = RunUpdate(m_UpdateRun(m_Language), m_Language, [this](const QString& item) {
    Lbl_Desc->setCaption(item);
    QCoreApplication::processEvents();
  });
  m_Running = false;
  if (onRunEnded) onRunEnded(outcome);
  Form2::unload();
}

void Form2::closeEvent(QCloseEvent* event) {
  // Closing mid-run would dispose of the window under the running update.
  if (m_Running) {
    event->ignore();
    return;
  }
  platform::Form::closeEvent(event);
}
