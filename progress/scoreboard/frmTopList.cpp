#include "progress/scoreboard/frmTopList.h"

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "progress/scoreboard/title_pictures.h"
#include "progress/scoreboard/top_list_text.h"

namespace {

// Layout in pixels: a title strip, the column titles, then one line per row.
constexpr int kWidth = 360;
constexpr int kTitleHeight = 28;
constexpr int kRowHeight = 24;
constexpr int kColumnsTop = kTitleHeight + 8;
constexpr int kFirstRowTop = kColumnsTop + kRowHeight + 4;
constexpr int kHeight = kFirstRowTop + frmTopList::kRows * kRowHeight + 10;

struct Column {
  int left;
  int width;
};
constexpr Column kSeq{12, 44};
constexpr Column kPoint{56, 24};
constexpr Column kScore{84, 110};
constexpr Column kUser{194, 156};

platform::Label* Place(platform::Label* label, const Column& column, int top, const QString& caption) {
  label->setGeometry(column.left, top, column.width, kRowHeight);
  label->setCaption(caption);
  return label;
}

}  // namespace

frmTopList::frmTopList() : Form(QStringLiteral("frmTopList")) {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(kWidth, kHeight);
  Pic_Title = add<platform::PictureBox>(QStringLiteral("Pic_Title"));
  Pic_Title->setGeometry(0, 0, kWidth, kTitleHeight);
  Pic_Title->setPicture(scoreboard::TitleStripPicture(Pic_Title->size()));
  Picture2 = add<platform::PictureBox>(QStringLiteral("Picture2"));
  Picture2->setGeometry(kWidth - kTitleHeight, 0, kTitleHeight, kTitleHeight);
  Picture2->setPicture(scoreboard::ClosePicture(Picture2->size()));
  Lbl_Topic = add<platform::Label>(QStringLiteral("Lbl_Topic"));
  Lbl_Topic->setGeometry(10, 0, kWidth - 2 * kTitleHeight, kTitleHeight);
  Lbl_Topic->setCaption(QStringLiteral("网络排行榜"));
  Lbl_Topic->setForeColor(Qt::white);
  Lbl_Topic->setAttribute(Qt::WA_TransparentForMouseEvents);  // the title strip below drags

  Lbl_SeqTitle = Place(add<platform::Label>(QStringLiteral("Lbl_SeqTitle")), kSeq, kColumnsTop, QStringLiteral("名次"));
  Lbl_ScoreTitle = Place(add<platform::Label>(QStringLiteral("Lbl_ScoreTitle")), kScore, kColumnsTop, QStringLiteral("成绩"));
  Lbl_UserTitle = Place(add<platform::Label>(QStringLiteral("Lbl_UserTitle")), kUser, kColumnsTop, QStringLiteral("用户"));
  for (int row = 0; row < kRows; ++row) {
    const int top = kFirstRowTop + row * kRowHeight;
    const auto i = static_cast<std::size_t>(row);
    Lbl_Seq[i] = Place(addIndexed<platform::Label>(QStringLiteral("Lbl_Seq"), row), kSeq, top, {});
    Lbl_Point[i] = Place(addIndexed<platform::Label>(QStringLiteral("Lbl_Point"), row), kPoint, top, {});
    Lbl_ValueTime[i] = Place(addIndexed<platform::Label>(QStringLiteral("Lbl_ValueTime"), row), kScore, top, {});
    Lbl_User[i] = Place(addIndexed<platform::Label>(QStringLiteral("Lbl_User"), row), kUser, top, {});
  }
  Pic_Title->mouse().onMouseDown = [this](int, int, double, double) { Pic_Title_MouseDown(); };
  Pic_Title->mouse().onMouseMove = [this](int, int, double, double) { drag_.follow(); };
  Pic_Title->mouse().onMouseUp = [this](int, int, double, double) { drag_.finish(); };
  Picture2->mouse().onClick = [this] { Picture2_Click(); };
}

frmTopList::~frmTopList() = default;

void frmTopList::Form_Load() {
  ApplyFormLanguage(QStringLiteral("frmTopList"));
  const auto rows = scoreboard::TopListRows(g_TopListText, g_UserIdentity);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    Lbl_Seq[i]->setCaption(rows[i].rank);
    Lbl_Point[i]->setCaption(rows[i].own ? QStringLiteral("->") : QString());
    Lbl_ValueTime[i]->setCaption(rows[i].score);
    Lbl_User[i]->setCaption(rows[i].user);
  }
}

void frmTopList::Pic_Title_MouseDown() { drag_.start(); }

void frmTopList::Picture2_Click() { unload(); }
