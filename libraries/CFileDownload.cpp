#include "libraries/CFileDownload.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

namespace {

std::int32_t To32(std::uint32_t value) {
  return static_cast<std::int32_t>(std::min<std::uint32_t>(value, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

bool CFileDownload::StartDownloading(const QString& sSrc, const QString& sDest) {
  if (m_bDownloading) return false;
  return platform::UrlDownloadToFile(sSrc, sDest, *this, m_Options, &m_LastFailure);
}

void CFileDownload::AbortDownloading() {
  if (m_bHoldsBinding && m_oBinding != nullptr) m_oBinding->Abort();
  m_bDownloading = false;
}

void CFileDownload::OnStartBinding(platform::DownloadBinding& binding) {
  m_oBinding = &binding;
  m_bDownloading = true;
  m_bHoldsBinding = true;
}

void CFileDownload::OnBindProgress(std::uint32_t progress, std::uint32_t progressMax, platform::DownloadStatus status,
                               const QString& statusText) {
  if (OnProgress) OnProgress(To32(progress), To32(progressMax), static_cast<std::int32_t>(status), statusText);
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

void CFileDownload::OnStopBinding(bool) {
  m_bDownloading = false;
  if (m_bHoldsBinding) {
    m_oBinding = nullptr;
    m_bHoldsBinding = false;
  }
}
