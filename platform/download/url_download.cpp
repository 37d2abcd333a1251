#include "platform/download/url_download.h"

#include "platform/download/partial_file.h"
#include "platform/download/transfer_loop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace platform {
namespace {

constexpr int kDefaultConnectSeconds = 15;
constexpr int kDefaultStallSeconds = 30;
constexpr long kMaxRedirects = 10;
// How long one wait for network activity may last: the caller's windows are served at least
// this often, also while a server sends nothing.
constexpr int kPollMilliseconds = 50;

int g_connectSeconds = kDefaultConnectSeconds;
int g_stallSeconds = kDefaultStallSeconds;

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;

// The easy handle registered with the multi handle for the transfer's lifetime.
void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

class Binding final : public DownloadBinding {
 public:
  void Abort() override { aborted = true; }
  bool aborted = false;
};

size_t WriteToPartialFile(char* data, size_t size, size_t count, void* userdata) {
  auto* file = static_cast<PartialFile*>(userdata);
  return file->write(data, size * count) ? size * count : 0;  // 0 makes curl fail the transfer
}

std::uint32_t Clamp32(curl_off_t value) {
  if (value < 0) return 0;
  if (value > static_cast<curl_off_t>(UINT32_MAX)) return UINT32_MAX;
  return static_cast<std::uint32_t>(value);
}

void ConfigureTransfer(CURL* easy, const QByteArray& url, PartialFile& file) {
  curl_easy_setopt(easy, CURLOPT_URL, url.constData());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &WriteToPartialFile);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &file);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  // Only web addresses, also after a redirect: a server must not point the program at local files.
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, static_cast<long>(g_connectSeconds));
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(g_stallSeconds));
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
}

// Reports progress to the callback: at once when bytes arrived, and every poll interval while
// nothing moves, so the caller can keep its windows live during a stall.
class ProgressReporter {
 public:
  ProgressReporter(CURL* easy, DownloadCallback& callback, const QString& url)
      : easy_(easy), callback_(callback), url_(url) {
    sinceReport_.start();
  }

  void report(bool force) {
    curl_off_t received = 0;
    curl_off_t length = -1;
    curl_easy_getinfo(easy_, CURLINFO_SIZE_DOWNLOAD_T, &received);
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    const bool moved = received != lastReceived_;
    if (!force && !moved && sinceReport_.elapsed() < kPollMilliseconds) return;
    DownloadStatus status = DownloadStatus::Connecting;
    if (received > 0) status = lastReceived_ <= 0 ? DownloadStatus::BeginDownloadData : DownloadStatus::DownloadingData;
    lastReceived_ = received;
    sinceReport_.restart();
    callback_.OnBindProgress(Clamp32(received), Clamp32(length), status, url_);
  }

  void reportEnd() {
    curl_off_t received = 0;
    curl_easy_getinfo(easy_, CURLINFO_SIZE_DOWNLOAD_T, &received);
    callback_.OnBindProgress(Clamp32(received), Clamp32(received), DownloadStatus::EndDownloadData, url_);
  }

 private:
  CURL* easy_;
  DownloadCallback& callback_;
  QString url_;
  curl_off_t lastReceived_ = -1;
  QElapsedTimer sinceReport_;
};

// Runs the transfer to its end or until the binding is aborted; true when curl finished it
// without an error.
bool RunTransfer(CURLM* multi, CURL* easy, Binding& binding, ProgressReporter& reporter) {
  reporter.report(true);
  const CURLcode result = RunTransferWhile(multi, easy, kPollMilliseconds, [&] {
    reporter.report(false);
    return !binding.aborted;
  });
  return !binding.aborted && result == CURLE_OK;
}

}  // namespace

bool UrlDownloadToFile(const QString& url, const QString& destination, DownloadCallback& callback) {
  InitCurlOnce();
  PartialFile file(QFile::encodeName(destination));
  if (!file.isOpen()) return false;
  EasyHandle easy(curl_easy_init());
  MultiHandle multi(curl_multi_init());
  if (!easy || !multi) return false;
  // Blanks and non-ASCII characters in a server's file names are percent-encoded, as a browser
  // would send them.
  const QUrl parsed(url, QUrl::TolerantMode);
  const QByteArray address = parsed.isValid() ? parsed.toEncoded() : url.toUtf8();
  ConfigureTransfer(easy.get(), address, file);

  Binding binding;
  callback.OnStartBinding(binding);
  ProgressReporter reporter(easy.get(), callback, url);
  bool succeeded = RunTransfer(multi.get(), easy.get(), binding, reporter);
  if (succeeded) {
    reporter.reportEnd();
    succeeded = !binding.aborted && file.commit();
  }
  callback.OnStopBinding(succeeded);
  return succeeded;
}

void SetDownloadTimeLimits(int connectSeconds, int stallSeconds) {
  g_connectSeconds = connectSeconds > 0 ? connectSeconds : kDefaultConnectSeconds;
  g_stallSeconds = stallSeconds > 0 ? stallSeconds : kDefaultStallSeconds;
}

}  // namespace platform
