#pragma once
// The download class: one synchronous download of one address into one local file, with an
// OnProgress event for its owner. StartDownloading returns when the transfer has ended; each
// progress report first raises OnProgress and then lets the whole program process its pending
// window messages, so windows stay live (and can call AbortDownloading) during a download. A
// second StartDownloading on an object that is downloading is refused. A file larger than the
// object's limit (1 GiB unless set) or than the destination's free space is refused, and the
// cause of a failure is kept for the owner's message (LastFailure). The object must outlive
// its transfer: an owner that may go away meanwhile (a window the learner closes) shares it with
// the running call. Free of window code: the maintenance programs use it as it stands.

#include "platform/download/url_download.h"

#include <QString>

#include <cstdint>
#include <functional>

class CFileDownload final : private platform::DownloadCallback {
 public:
  CFileDownload() = default;
  ~CFileDownload() override = default;
  CFileDownload(const CFileDownload&) = delete;
  CFileDownload& operator=(const CFileDownload&) = delete;

  // Fetches sSrc into the file sDest (a full path). True when the whole file was stored; false
  // at once, without touching anything, while this object is already downloading.
  bool StartDownloading(const QString& sSrc, const QString& sDest);
  // Cancels the transfer in progress, if any; the running StartDownloading then returns false.
  void AbortDownloading();

  bool downloading() const { return m_bDownloading; }

  // The most bytes the next downloads may bring (1 GiB unless set); a larger file fails with
  // TooLarge. A list file is fetched with a smaller limit.
  void SetMaxBytes(std::int64_t maxBytes) { m_Options.maxBytes = maxBytes; }
  // Whether a stored file is on disk before StartDownloading returns (the default). An owner that
  // syncs the file itself later may turn it off, so the write-back overlaps its further work.
  void SetSyncToDisk(bool sync) { m_Options.syncToDisk = sync; }
  // Whether the next downloads follow redirects only to https addresses.
  void SetHttpsRedirectsOnly(bool only) { m_Options.httpsRedirectsOnly = only; }
  // Why the last StartDownloading returned false (None after a success).
  platform::DownloadFailure LastFailure() const { return m_LastFailure; }

  // The progress event: bytes so far, bytes in all (0 while unknown), status code, status text.
  // One handler at most; without one the reports go nowhere.
  std::function<void(std::int32_t lProgress, std::int32_t lMaxProgress, std::int32_t lStatusCode,
                     const QString& sStatusText)>
      OnProgress;

 private:
  void OnStartBinding(platform::DownloadBinding& binding) override;
  void OnBindProgress(std::uint32_t progress, std::uint32_t progressMax, platform::DownloadStatus status,
                  const QString& statusText) override;
  void OnStopBinding(bool succeeded) override;

  platform::DownloadBinding* m_oBinding = nullptr;  // the transfer in progress, between start and stop
  bool m_bDownloading = false;
  bool m_bHoldsBinding = false;
  platform::DownloadOptions m_Options;
  platform::DownloadFailure m_LastFailure = platform::DownloadFailure::None;
};
