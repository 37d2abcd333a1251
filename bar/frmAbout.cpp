#include "bar/frmAbout.h"

#include "bar/about_box_hook.h"
#include "bar/program_version.h"
#include "platform/app/folders.h"
#include "platform/files/picture_file.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace {

// Design sizes in twips (15 to a pixel).
constexpr double kWidth = 6000;          // 400 pixels
constexpr double kBannerHeight = 1350;   // 90 pixels
constexpr double kEmblemSize = 1200;     // 80 pixels
constexpr double kMargin = 150;
constexpr double kLineHeight = 345;
constexpr double kHeight = kBannerHeight + kEmblemSize + 2 * kMargin;

const std::array<const char*, 3> kDesignTexts = {
    "Corvel's Lexorn Version 2.0.",
    "lexorn@corvel.example",
    "https://corvel.example/lexorn",
};

QImage AboutPicture(const char* name) {
  return platform::ReadPictureFile(platform::ProgramFolder() + QString::fromLatin1(name));
}

}  // namespace

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout")) {
  static_assert(kProgramVersionMajor == 2 && kProgramVersionMinor == 0, "the title line names version 2.0");
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setFixedSize(static_cast<int>(kWidth / platform::kTwipsPerPixel), static_cast<int>(kHeight / platform::kTwipsPerPixel));

  Picture1 = add<platform::PictureBox>(QStringLiteral("Picture1"));
  Picture1->twips().move(0, 0, kWidth, kBannerHeight);
  Picture1->mouse().onClick = [this] { Picture1_Click(); };
  Picture2 = add<platform::PictureBox>(QStringLiteral("Picture2"));
  Picture2->twips().move(kMargin, kBannerHeight + kMargin, kEmblemSize, kEmblemSize);
  Picture2->mouse().onClick = [this] { Picture2_Click(); };

  const double textLeft = 2 * kMargin + kEmblemSize;
  for (int i = 0; i < static_cast<int>(Text1.size()); ++i) {
    platform::TextBox* box = addIndexed<platform::TextBox>(QStringLiteral("Text1"), i);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setText(QString::fromUtf8(kDesignTexts[static_cast<std::size_t>(i)]));
    box->twips().move(textLeft, kBannerHeight + kMargin + i * (kLineHeight + 60), kWidth - textLeft - kMargin,
                      kLineHeight);
    box->installEventFilter(this);
    Text1[static_cast<std::size_t>(i)] = box;
  }
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load() {
  Text1[0]->setText(Text1[0]->text() + QString::number(kProgramRevision));
  Picture1->setPicture(AboutPicture("frmAbout_Picture1.jpg"));
  Picture2->setPicture(AboutPicture("frmAbout_Picture2.jpg"));
  // Without an owner window it opens in the middle of the screen the pointer is on.
  if (const QScreen* screen = QGuiApplication::screenAt(QCursor::pos())) {
    move(screen->geometry().center() - rect().center());
  }
}

void frmAbout::Form_Click() { unload(); }
void frmAbout::Picture1_Click() { unload(); }
void frmAbout::Picture2_Click() { unload(); }
void frmAbout::Text1_Click(int) { unload(); }

void frmAbout::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Form_Click();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    for (std::size_t i = 0; i < Text1.size(); ++i) {
      if (watched != Text1[i]) continue;
      Text1_Click(static_cast<int>(i));
      return true;
    }
  }
  return Form::eventFilter(watched, event);
}

void ShowAboutBox() { frmAbout::instance().showModal(); }
