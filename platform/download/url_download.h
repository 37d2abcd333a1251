#pragma once
// URL download: one synchronous HTTP(S) transfer of one address into one local file, reporting
// its start, progress and end to a caller-supplied callback, and cancellable from that callback.
//
// The transfer runs on the calling thread and returns when it has ended; the callback's progress
// reports come often enough (also while a server stalls) that the caller can keep its windows
// live from them. Redirects are followed, an HTTP error status is a failure, the proxy comes from
// the environment (http_proxy, https_proxy, no_proxy). The file is written to a temporary file in
// the destination's folder and renamed into place only when the transfer succeeded, so a failed
// or cancelled transfer never leaves a partial file or replaces a good older one.
// A transfer under way when the program is asked to end (termination_signals.h) ends as
// cancelled, so no download holds up the end.

#include "platform/download/download_address.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace platform {

// The transfer in progress, as the callback is handed it: valid from OnStartBinding until
// OnStopBinding.
class DownloadBinding {
 public:
  virtual ~DownloadBinding() = default;
  // Asks the transfer to stop; it then ends as a failure at the next occasion.
  virtual void Abort() = 0;
};

// Status codes of a progress report.
enum class DownloadStatus : std::uint32_t {
  Connecting = 2,
  BeginDownloadData = 4,
  DownloadingData = 5,
  EndDownloadData = 6,
};

class DownloadCallback {
 public:
  virtual ~DownloadCallback() = default;
  virtual void OnStartBinding(DownloadBinding& binding) = 0;
  // progress and progressMax are bytes; progressMax is 0 while the size is unknown.
  virtual void OnBindProgress(std::uint32_t progress, std::uint32_t progressMax, DownloadStatus status,
                          const QString& statusText) = 0;
  virtual void OnStopBinding(bool succeeded) = 0;
};

// Why a transfer failed.
enum class DownloadFailure {
  None,
  Transfer,     // no connection, no answer, an HTTP error status, a stalled server
  TooLarge,     // the file is larger than the limit
  NoSpace,      // the file does not fit in the destination's free space, or the disk filled up
  WriteFailed,  // the destination could not be written for another reason
  Cancelled,    // aborted through the binding
};

// The most bytes one download may bring: a server that sends more (or announces more) is cut off.
inline constexpr std::int64_t kDefaultDownloadLimit = std::int64_t{1} << 30;  // 1 GiB

struct DownloadOptions {
  std::int64_t maxBytes = kDefaultDownloadLimit;
  // Whether the file is on disk (fsync) before it takes its name. A caller that moves the file on
  // before relying on it may sync it later itself, letting the write-back finish meanwhile.
  bool syncToDisk = true;
  // Whether a redirect may lead only to an https address, whatever the first address was. An
  // exception a caller makes for one plain-http address must not carry over to where that
  // address points.
  bool httpsRedirectsOnly = false;
};

// Fetches `url` into the file `destination` (a full path whose folder must exist). Returns true
// when the whole file was stored. OnStartBinding and OnStopBinding are called once each when the
// transfer got under way; a failure before that (a destination folder that cannot be written, an
// address curl refuses) returns false without calling them. A file larger than the limit, or than
// the free space of the destination's file system, is refused (announced sizes at once, the rest
// when the bytes arrive). The cause of a failure goes to *failure when given.
bool UrlDownloadToFile(const QString& url, const QString& destination, DownloadCallback& callback,
                       const DownloadOptions& options = {}, DownloadFailure* failure = nullptr);

// Limits that keep a dead or stalled server from hanging the program: the connection must stand
// within connectSeconds, and a transfer that moves less than one byte per second for stallSeconds
// fails. Tests shorten them; 0 restores the defaults (15 and 30 seconds).
void SetDownloadTimeLimits(int connectSeconds, int stallSeconds);

}  // namespace platform
