#include "platform/download/url_download.h"

#include "platform/app/termination_signals.h"
#include "platform/download/partial_file.h"
#include "platform/download/transfer_loop.h"
#include "platform/files/disk_full.h"

#include <QElapsedTimer>
#include <QFile>

#include <curl/curl.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <mutex>

#include <sys/statvfs.h>

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

DownloadFailure FailureOfWriteError(int error) {
  return IsDiskFullError(error) ? DownloadFailure::NoSpace : DownloadFailure::WriteFailed;
}

// Where the bytes go, and what they may not exceed: the size limit and the free space the
// destination's file system had when the transfer began.
struct Sink {
  PartialFile& file;
  std::int64_t maxBytes;
  std::int64_t freeBytes;
  std::int64_t received = 0;
  DownloadFailure failure = DownloadFailure::None;

  // The cause when `total` bytes (received or announced) cannot be taken.
  DownloadFailure refusal(std::int64_t total) const {
    if (total > maxBytes) return DownloadFailure::TooLarge;
    if (total > freeBytes) return DownloadFailure::NoSpace;
    return DownloadFailure::None;
  }
};

std::int64_t FreeBytesOfFolder(const QByteArray& destination) {
  const QByteArray folder = destination.left(destination.lastIndexOf('/') + 1);
  struct statvfs info {};
  if (::statvfs(folder.isEmpty() ? "." : folder.constData(), &info) != 0) return INT64_MAX;
  const unsigned long long bytes = static_cast<unsigned long long>(info.f_bavail) * info.f_frsize;
  return bytes > static_cast<unsigned long long>(INT64_MAX) ? INT64_MAX : static_cast<std::int64_t>(bytes);
}

size_t WriteToPartialFile(char* data, size_t size, size_t count, void* userdata) {
  auto* sink = static_cast<Sink*>(userdata);
  const size_t bytes = size * count;
  sink->received += static_cast<std::int64_t>(bytes);
  sink->failure = sink->refusal(sink->received);
  if (sink->failure != DownloadFailure::None) return 0;  // 0 makes curl fail the transfer
  if (sink->file.write(data, bytes)) return bytes;
  sink->failure = FailureOfWriteError(sink->file.lastError());
  return 0;
}

std::uint32_t Clamp32(curl_off_t value) {
  if (value < 0) return 0;
  if (value > static_cast<curl_off_t>(UINT32_MAX)) return UINT32_MAX;
  return static_cast<std::uint32_t>(value);
}

void ConfigureTransfer(CURL* easy, const QByteArray& url, Sink& sink, bool httpsRedirectsOnly) {
  curl_easy_setopt(easy, CURLOPT_URL, url.constData());
  // The path goes out as the address gives it: "." and ".." steps (also escaped ones) are the
  // server's to resolve, not folded away before sending.
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &WriteToPartialFile);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  // Only web addresses, also after a redirect: a server must not point the program at local files.
  // A secure address stays secure: its redirects may lead to https only, never down to http.
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  const bool secure = httpsRedirectsOnly || url.trimmed().toLower().startsWith("https:");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
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

// The size the server announced, -1 while unknown.
std::int64_t AnnouncedLength(CURL* easy) {
  curl_off_t length = -1;
  curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  return length;
}

// Runs the transfer to its end, until the binding is aborted, the program is ending or the server
// announces a size that cannot be taken; the cause of a failure lands in the sink.
bool RunTransfer(CURLM* multi, CURL* easy, Binding& binding, ProgressReporter& reporter, Sink& sink) {
  reporter.report(true);
  bool ended = false;  // by the caller, or by the program's end
  const CURLcode result = RunTransferWhile(multi, easy, kPollMilliseconds, [&] {
    if (sink.failure == DownloadFailure::None) sink.failure = sink.refusal(AnnouncedLength(easy));
    if (sink.failure != DownloadFailure::None) return false;
    reporter.report(false);
    ended = binding.aborted || TerminationRequested();
    return !ended;
  });
  if (ended || binding.aborted) sink.failure = DownloadFailure::Cancelled;
  if (result != CURLE_OK && sink.failure == DownloadFailure::None) sink.failure = DownloadFailure::Transfer;
  return sink.failure == DownloadFailure::None;
}

}  // namespace

bool UrlDownloadToFile(const QString& url, const QString& destination, DownloadCallback& callback,
                       const DownloadOptions& options, DownloadFailure* failure) {
  InitCurlOnce();
  DownloadFailure ignored = DownloadFailure::None;
  DownloadFailure& cause = failure != nullptr ? *failure : ignored;
  const QByteArray destinationName = QFile::encodeName(destination);
  PartialFile file(destinationName);
  if (!file.isOpen()) {
    cause = FailureOfWriteError(file.lastError());
    return false;
  }
  cause = DownloadFailure::Transfer;
  EasyHandle easy(curl_easy_init());
  MultiHandle multi(curl_multi_init());
  if (!easy || !multi) return false;
  Sink sink{file, options.maxBytes, FreeBytesOfFolder(destinationName)};
  ConfigureTransfer(easy.get(), EncodedDownloadAddress(url), sink, options.httpsRedirectsOnly);

  Binding binding;
  callback.OnStartBinding(binding);
  ProgressReporter reporter(easy.get(), callback, url);
  bool succeeded = RunTransfer(multi.get(), easy.get(), binding, reporter, sink);
  if (succeeded) {
    reporter.reportEnd();
    if (binding.aborted) {
      sink.failure = DownloadFailure::Cancelled;
    } else if (!file.commit(options.syncToDisk)) {
      sink.failure = FailureOfWriteError(file.lastError());
    }
    succeeded = sink.failure == DownloadFailure::None;
  }
  cause = sink.failure;
  callback.OnStopBinding(succeeded);
  return succeeded;
}

void SetDownloadTimeLimits(int connectSeconds, int stallSeconds) {
  g_connectSeconds = connectSeconds > 0 ? connectSeconds : kDefaultConnectSeconds;
  g_stallSeconds = stallSeconds > 0 ? stallSeconds : kDefaultStallSeconds;
}

}  // namespace platform
