#pragma once
// A fixture for the bar's drawing and layout: the bar loaded and shown in a temporary program
// folder, its text boxes with known fonts, colours and sizes, and the shared values the drawing
// and layout read set to plain defaults.

#include "bar/SkolvaneBar.h"
#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "platform/fonts/font_mapping.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <tuple>

namespace testing_support {

class BarDrawingFixture : public ::testing::Test {
 protected:
  static constexpr double kWordPoints = 12;

  void SetUp() override {
    platform::SetProgramFolder(folders_.programFolder());
    g_LibraryFolder = folders_.libraryFolder();
    g_LibraryFileName = "Words.abc";
    bar_ = &SkolvaneBar::instance();
    // The tests call the drawing and layout procedures themselves: the boxes' Paint handlers
    // (which redraw the current item and reset the word row's width) and the word timer would
    // interleave their own drawing with what a test checks.
    for (platform::PictureBox* box : {bar_->Pic_ShowText, bar_->Pic_ShowPhonetic, bar_->Pic_ShowLongMeaning,
                                      bar_->Pic_SegNo, bar_->Pic_percent, bar_->Pic_Pos}) {
      box->onPaint = nullptr;
    }
    bar_->Tim_Wait->setEnabled(false);

    g_BarShown = true;
    g_ShowPhonetic = true;
    g_ShowLongMeaning = g_ShowPicture = g_ShowStatus = g_ShowHour = g_ShowResize = false;
    g_ShowProgress = g_ShowSegNo = g_ShowCounter = g_Wait = g_DoSegment = false;
    g_PhoneticSymbolStart = "[";
    g_PhoneticSymbolEnd = "]";
    g_MeaningSymbolStart = "(";
    g_MeaningSymbolEnd = ")";
    g_SourceLang = "A";
    g_MeaningRows = 1;
    g_MeaningBarPercent = 50;
    g_WindowW = 432;
    g_TextBoxHeight = 288;

    for (platform::PictureBox* box : {bar_->Pic_ShowText, bar_->Pic_ShowPhonetic, bar_->Pic_ShowLongMeaning}) {
      box->setBackColor(Qt::white);
      box->setForeColor(Qt::black);
    }
    bar_->Pic_ShowText->setFont(platform::ResolveFont("DejaVu Sans", kWordPoints));
    bar_->Pic_ShowPhonetic->setFont(platform::ResolveFont("DejaVu Sans", kWordPoints / 2));
    bar_->Pic_ShowLongMeaning->setFont(platform::ResolveFont("DejaVu Sans", kWordPoints / 2));
    bar_->Pic_ShowText->twips().move(0, 150, 6480, 288);
    bar_->Pic_ShowPhonetic->twips().move(0, 0, 6480, 150);
    bar_->Pic_ShowLongMeaning->twips().move(0, 450, 6480, 432);
    bar_->show();
  }

  void TearDown() override {
    SkolvaneBar::unload();
    platform::SetProgramFolder({});
  }

  SkolvaneBar& bar() { return *bar_; }
  const TempFolders& folders() const { return folders_; }
  RecordingDialogs& dialogs() { return *dialogs_; }

  // What the box would hold after clearing it and drawing each one-line text at its point, as the
  // bar draws: the box's font and fore colour, the baseline the font's ascent below the point
  // (the fixture's fonts fit rows of 1.2 times their size), clipped at 2000 x 200 pixels.
  static QImage Expected(const platform::PictureBox& box, std::initializer_list<std::tuple<QString, int, int>> texts) {
    QImage image(box.image().size(), box.image().format());
    image.fill(box.backColor());
    QPainter painter(&image);
    painter.setFont(box.font());
    painter.setPen(box.foreColor());
    const int ascent = QFontMetrics(box.font(), &image).ascent();
    for (const auto& [text, x, y] : texts) {
      painter.setClipRect(QRect(x, y, 2000 - x, 200 - y));
      painter.drawText(QPoint(x, y + ascent), text);
    }
    return image;
  }

  // The smallest rectangle holding every pixel that differs from the box's back colour.
  static QRect Ink(const platform::PictureBox& box) {
    const QImage& image = box.image();
    const QRgb back = box.backColor().rgb();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != back) ink |= QRect(x, y, 1, 1);
      }
    }
    return ink;
  }

 private:
  TempFolders folders_;
  ScopedRecordingDialogs dialogs_;
  SkolvaneBar* bar_ = nullptr;
};

}  // namespace testing_support
