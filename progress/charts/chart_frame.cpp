#include "progress/charts/chart_frame.h"

#include "core/language_bas.h"
#include "progress/charts/chart_pictures.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// Client area of every chart window, twips.
constexpr double kClientWidth = 6225;
constexpr double kClientHeight = 3390;
constexpr double kRowTop = 2880;
constexpr double kRowHeight = 255;

// Places a widget that has no twips geometry of its own.
void PlaceInTwips(QWidget& widget, double left, double top, double width, double height) {
  widget.setGeometry(platform::TwipsToPixels(left), platform::TwipsToPixels(top),
                     std::max(1, platform::TwipsToPixels(width)), std::max(1, platform::TwipsToPixels(height)));
}

}  // namespace

ChartFrame::ChartFrame(const QString& name, const QString& topic, const QRectF& chartPlace) : Form(name) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

  Picture1 = add<platform::PictureBox>(QStringLiteral("Picture1"));
  Picture1->twips().move(0, 0, 6300, 460);
  Picture1->setPicture(ChartTitlePicture(Picture1->size()));
  Picture1->mouse().onMouseDown = [this](int button, int shift, double x, double y) {
    Picture1_MouseDown(button, shift, x, y);
  };
  Picture1->mouse().onMouseMove = [this](int, int, double, double) { drag_.follow(); };
  Picture1->mouse().onMouseUp = [this](int, int, double, double) { drag_.finish(); };

  Picture2 = add<platform::PictureBox>(QStringLiteral("Picture2"));
  Picture2->twips().move(5880, 120, 270, 270);
  Picture2->setPicture(ChartClosePicture());
  Picture2->mouse().onClick = [this] { Picture2_Click(); };

  Frame2 = add<QFrame>(QStringLiteral("Frame2"));
  Frame2->setFrameShape(QFrame::HLine);
  Frame2->setFrameShadow(QFrame::Plain);
  PlaceInTwips(*Frame2, 0, 480, 6255, 15);

  Lbl_Topic = add<platform::Label>(QStringLiteral("Lbl_Topic"));
  Lbl_Topic->twips().move(120, 720, 2535, 255);
  Lbl_Topic->setCaption(topic);

  Picture_chart = add<platform::PictureBox>(QStringLiteral("Picture_chart"));
  Picture_chart->twips().move(chartPlace.left(), chartPlace.top(), chartPlace.width(), chartPlace.height());

  setFixedSize(platform::TwipsToPixels(kClientWidth), platform::TwipsToPixels(kClientHeight));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

ChartFrame::~ChartFrame() = default;

void ChartFrame::Picture1_MouseDown(int, int, double, double) { drag_.start(); }

void ChartFrame::Picture2_Click() { close(); }

platform::Label* ChartFrame::addRowLabel(const QString& name, double left, double width, const QString& caption) {
  platform::Label* label = add<platform::Label>(name);
  label->twips().move(left, kRowTop, width, kRowHeight);
  label->setCaption(caption);
  return label;
}

void ChartFrame::applyCaptions() {
  ApplyFormLanguage(name());
  setCaption(Lbl_Topic->caption());
}
