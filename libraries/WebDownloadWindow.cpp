#include "libraries/WebDownloadWindow.h"

#include "core/language_bas.h"
#include "platform/dialogs/window_placement.h"
#include "platform/window/drag.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr int kCloseBoxSize = 20;
const QColor kStripTop(0x3a, 0x6e, 0xa5);
const QColor kStripBottom(0x23, 0x4a, 0x78);

}  // namespace

WebDownloadWindow::WebDownloadWindow(const QString& name, const QSize& size, const QString& topic) : Form(name) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(size);
  setCaption(topic);
  // Where a desktop opens a window, also when no window manager places it.
  platform::CentreOnScreen(*this);

  Picture1 = add<platform::PictureBox>(QStringLiteral("Picture1"));
  Picture1->setGeometry(0, 0, size.width(), kTitleHeight);
  Picture1->mouse().onMouseDown = [this](int, int, double, double) { Picture1_MouseDown(); };
  Picture1->mouse().onMouseMove = [this](int, int, double, double) { drag_.follow(); };
  Picture1->mouse().onMouseUp = [this](int, int, double, double) { drag_.finish(); };

  Lbl_Topic = add<platform::Label>(QStringLiteral("Lbl_Topic"));
  Lbl_Topic->setCaption(topic);
  Lbl_Topic->setGeometry(10, 0, size.width() - 2 * kCloseBoxSize - 10, kTitleHeight);
  Lbl_Topic->setAutoFillBackground(false);
  Lbl_Topic->setForeColor(Qt::white);
  Lbl_Topic->setAttribute(Qt::WA_TransparentForMouseEvents);  // pressing the title drags too

  Picture2 = add<platform::PictureBox>(QStringLiteral("Picture2"));
  Picture2->setGeometry(size.width() - kCloseBoxSize - 6, (kTitleHeight - kCloseBoxSize) / 2, kCloseBoxSize,
                        kCloseBoxSize);
  Picture2->setCursor(Qt::PointingHandCursor);
  Picture2->mouse().onClick = [this] { Picture2_Click(); };
  paintFrame();
}

void WebDownloadWindow::applyLanguage() {
  ApplyFormLanguage(name());
  setCaption(Lbl_Topic->caption());
}

void WebDownloadWindow::Picture1_MouseDown() { drag_.start(); }

void WebDownloadWindow::paintFrame() {
  Picture1->draw([this](QPainter& painter) {
    QLinearGradient gradient(0, 0, 0, kTitleHeight);
    gradient.setColorAt(0, kStripTop);
    gradient.setColorAt(1, kStripBottom);
    painter.fillRect(Picture1->rect(), gradient);
  });
  Picture2->setBackColor(kStripBottom.lighter(130));
  Picture2->draw([](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2));
    constexpr int inset = 6;
    painter.drawLine(inset, inset, kCloseBoxSize - inset, kCloseBoxSize - inset);
    painter.drawLine(kCloseBoxSize - inset, inset, inset, kCloseBoxSize - inset);
  });
}
