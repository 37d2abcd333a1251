#include "libraries/frmWebDownloadConn.h"

#include "core/language_bas.h"
#include "libraries/DownloadLocationFile.h"
#include "libraries/ServerListFile.h"
#include "libraries/frmWebDownload.h"
#include "platform/app/folders.h"

#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {

const QString kForm = QStringLiteral("frmWebDownloadConn");
constexpr int kFetchDelayMilliseconds = 1000;

// The address as a label wraps it: after each "/" a line may break (a zero-width space), so an
// address longer than the label's width stays whole on screen.
QString WrappableAddress(QString address) { return address.replace(QLatin1Char('/'), QStringLiteral("/\u200B")); }

// Why the list could not be fetched: a list too large or a full disk have texts of their own, and
// so has the placeholder address, which no server answers: it tells where a server is named.
QString FetchErrorText(platform::DownloadFailure failure, const QString& address) {
  switch (failure) {
    case platform::DownloadFailure::TooLarge:
      return GetMessageText(kForm, QStringLiteral("Lbl_Desc_TooLarge"),
                            QStringLiteral("The library list on the server is larger than 16 MB and was refused."));
    case platform::DownloadFailure::NoSpace:
      return GetMessageText(kForm, QStringLiteral("Lbl_Desc_NoSpace"),
                            QStringLiteral("The library list could not be stored: the disk is full."));
    default: break;
  }
  if (!ReadDownloadLocation(QString::fromUtf16(kCatalogueLocationFile)).overridden) {
    return GetMessageText(kForm, QStringLiteral("Lbl_Desc_NoServer"),
                          QStringLiteral("No library server is named, and the placeholder address %1 does not answer. "
                                         "Name your server beside the program in WebLibLocation.ini (the library "
                                         "list) and ServerLocation.ini (the libraries), section [DOWNLOADFROM]."))
        .arg(WrappableAddress(address));
  }
  return GetMessageText(kForm, QStringLiteral("Lbl_Desc_Err"),
                        QStringLiteral("The library server could not be reached. Check the connection and try again "
                                       "later."));
}

}  // namespace

frmWebDownloadConn::frmWebDownloadConn()
    : WebDownloadWindow(kForm, QSize(380, 150), QStringLiteral("连接词库服务器...")) {
  constexpr int top = kTitleHeight;
  Frame1 = add<QFrame>(QStringLiteral("Frame1"));
  Frame1->setFrameShape(QFrame::StyledPanel);
  Frame1->setGeometry(6, top + 6, 368, 76);
  Picture3 = add<platform::PictureBox>(QStringLiteral("Picture3"));
  Picture3->setGeometry(16, top + 20, 48, 48);
  Lbl_Desc = add<platform::Label>(QStringLiteral("Lbl_Desc"));
  Lbl_Desc->setGeometry(76, top + 14, 290, 36);
  Lbl_Desc->setWordWrap(true);
  ProgressBar1 = add<QProgressBar>(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(76, top + 54, 290, 18);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setTextVisible(false);
  Frame2 = add<QFrame>(QStringLiteral("Frame2"));
  Frame2->setFrameShape(QFrame::HLine);
  Frame2->setGeometry(6, top + 86, 368, 4);
  Cmd_Cancel = add<platform::CommandButton>(QStringLiteral("Cmd_Cancel"));
  Cmd_Cancel->setCaption(QStringLiteral("取消"));
  Cmd_Cancel->setGeometry(280, top + 92, 94, 24);
  Cmd_Cancel->onClick = [this] { Cmd_Cancel_Click(); };
  Timer1 = add<platform::Timer>(QStringLiteral("Timer1"));
  Timer1->onTimer = [this] { Timer1_Timer(); };
  Timer1->setInterval(kFetchDelayMilliseconds);
  Timer1->setEnabled(true);
  paintDecoration();
}

frmWebDownloadConn::~frmWebDownloadConn() = default;

void frmWebDownloadConn::Form_Load() {
  applyLanguage();
  ProgressBar1->setValue(0);
}

void frmWebDownloadConn::Form_Unload() {
  m_Closing = true;
  Timer1->setEnabled(false);
  if (m_oFileDownload) m_oFileDownload->AbortDownloading();
}

void frmWebDownloadConn::Timer1_Timer() {
  Timer1->setEnabled(false);  // one fetch per opening
  const QString address = CatalogueAddress();
  m_oFileDownload = std::make_shared<CFileDownload>();
  const std::shared_ptr<CFileDownload> download = m_oFileDownload;
  download->SetMaxBytes(kServerListLimit);
  QPointer<frmWebDownloadConn> self(this);
  download->OnProgress = [self](std::int32_t progress, std::int32_t maxProgress, std::int32_t status,
                                const QString& text) {
    if (self && !self->m_Closing) self->m_oFileDownload_OnProgress(progress, maxProgress, status, text);
  };
  const bool fetched = download->StartDownloading(address, platform::ProgramFolder() + QString::fromUtf16(kCatalogueFileName));
  download->OnProgress = nullptr;
  if (!self || m_Closing) return;  // closed during the fetch
  m_oFileDownload.reset();
  if (!fetched) {
    ShowFetchError(FetchErrorText(download->LastFailure(), address));
    return;
  }
  ProgressBar1->setValue(100);
  frmWebDownload::instance().showModal();
  if (self && !m_Closing) frmWebDownloadConn::unload();
}

void frmWebDownloadConn::ShowFetchError(const QString& text) {
  ProgressBar1->hide();
  Lbl_Desc->setCaption(text);
  // The text takes the bar's room too; a text taller than that makes the window taller.
  const QRect room(Lbl_Desc->x(), Lbl_Desc->y(), Lbl_Desc->width(), ProgressBar1->geometry().bottom() - Lbl_Desc->y() + 1);
  const int grow = std::max(0, Lbl_Desc->heightForWidth(room.width()) - room.height());
  Lbl_Desc->setGeometry(room.adjusted(0, 0, 0, grow));
  if (grow == 0) return;
  Frame1->resize(Frame1->width(), Frame1->height() + grow);
  for (QWidget* below : {static_cast<QWidget*>(Frame2), static_cast<QWidget*>(Cmd_Cancel)}) below->move(below->x(), below->y() + grow);
  setFixedSize(width(), height() + grow);
}

void frmWebDownloadConn::m_oFileDownload_OnProgress(std::int32_t, std::int32_t, std::int32_t, const QString&) {
  // The bar shows activity, not the share done: reports come in any number.
  ProgressBar1->setValue(ProgressBar1->value() < 70 ? ProgressBar1->value() + 30 : 99);
}

void frmWebDownloadConn::Picture2_Click() { frmWebDownloadConn::unload(); }

void frmWebDownloadConn::Cmd_Cancel_Click() { frmWebDownloadConn::unload(); }

void frmWebDownloadConn::paintDecoration() {
  Picture3->setBackColor(palette().color(QPalette::Window));
  Picture3->draw([](QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x23, 0x4a, 0x78), 3));
    painter.drawEllipse(QRectF(6, 6, 36, 36));
    painter.drawLine(QPointF(24, 6), QPointF(24, 42));
    painter.drawLine(QPointF(6, 24), QPointF(42, 24));
    painter.drawEllipse(QRectF(15, 6, 18, 36));
  });
}
