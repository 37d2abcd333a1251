#include "platform/browser/web_browser.h"

#include "platform/download/transfer_loop.h"
#include "platform/reader/reader_process.h"

#include <curl/curl.h>

namespace platform::browser {
namespace {

// The page as it arrives, up to the size limit.
struct PageBuffer {
  QByteArray received;
  bool tooLarge = false;  // the page went past the size limit and was cut off
};

}  // namespace

// One curl handle for the whole visit, so that its cookie store carries the log-on.
struct WebBrowser::Session {
  struct HandleDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
  };
  struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
  };
  std::unique_ptr<CURL, HandleDeleter> handle{curl_easy_init()};
  std::unique_ptr<CURLM, MultiDeleter> multi{curl_multi_init()};
  PageBuffer page;
};

namespace {

// How long one wait for network activity lasts before the windows get their turn again.
constexpr int kPollMilliseconds = 30;

// The reader's bounds for one page: the largest page the limits accept takes it under two seconds
// of processor time on an idle machine, twice that on a busy one; a page that keeps the parser
// busy longer is one no forum sends.
constexpr int kPageCpuSeconds = 8;
constexpr std::chrono::milliseconds kPageDeadline{std::chrono::seconds(15)};

// How the program judges a reader that did not answer.
PageRefusal RefusalOfReaderEnd(platform::reader::ReaderEnd end) {
  using platform::reader::ReaderEnd;
  switch (end) {
    case ReaderEnd::Answered: return PageRefusal::None;
    case ReaderEnd::OutOfMemory: return PageRefusal::OutOfMemory;
    case ReaderEnd::OutOfTime:
    case ReaderEnd::Deadline: return PageRefusal::OutOfTime;
    case ReaderEnd::CannotStart: return PageRefusal::ReaderMissing;
    case ReaderEnd::Cancelled:
    case ReaderEnd::Crashed:
    case ReaderEnd::NoAnswer: break;
  }
  return PageRefusal::ReaderFailed;
}

// Keeps the page's bytes up to the size limit; past it the transfer ends (a page that never
// ends must not fill the memory).
size_t CollectBody(char* data, size_t size, size_t count, void* buffer) {
  auto& state = *static_cast<PageBuffer*>(buffer);
  const auto bytes = static_cast<qsizetype>(size * count);
  if (bytes > kMaxPageBytes - state.received.size()) {
    state.tooLarge = true;
    return 0;
  }
  state.received.append(data, bytes);
  return size * count;
}

}  // namespace

WebBrowser::WebBrowser() : session_(std::make_unique<Session>()) {
  CURL* curl = session_->handle.get();
  if (!curl) return;
  curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");  // an in-memory cookie store
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CollectBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &session_->page);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxPageBytes));
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
}

WebBrowser::~WebBrowser() = default;

bool WebBrowser::Navigate(const QString& address) { return fetch(QUrl(address), nullptr); }

bool WebBrowser::Submit(int formIndex, int submitter) {
  if (formIndex < 0 || document_.tag(formIndex) != QStringLiteral("form")) {
    lastError_ = QStringLiteral("the page has no such form");
    return false;
  }
  const FormSubmission sent = document_.submission(formIndex, submitter);
  return fetch(sent.url, sent.post ? &sent.body : nullptr);
}

bool WebBrowser::Click(int index) {
  const QString tag = document_.tag(index);
  const QString type = document_.attribute(index, QStringLiteral("type")).toLower();
  if (tag == QStringLiteral("a") && !document_.href(index).isEmpty()) return Navigate(document_.href(index));
  if ((tag == QStringLiteral("input") && (type == QStringLiteral("submit") || type == QStringLiteral("image"))) ||
      (tag == QStringLiteral("button") && type != QStringLiteral("button") && type != QStringLiteral("reset"))) {
    return Submit(document_.formOf(index), index);
  }
  lastError_ = QStringLiteral("the element cannot be clicked");
  return false;
}

bool WebBrowser::fetch(const QUrl& url, const QByteArray* postBody) {
  CURL* curl = session_->handle.get();
  aborted_ = false;
  if (!curl || !session_->multi) {
    lastError_ = QStringLiteral("no transfer handle");
    return false;
  }
  if (!url.isValid() || (url.scheme() != QStringLiteral("http") && url.scheme() != QStringLiteral("https"))) {
    lastError_ = QStringLiteral("not a web address: %1").arg(url.toString());
    return false;
  }
  session_->page = PageBuffer();
  const QByteArray address = url.toEncoded();
  curl_easy_setopt(curl, CURLOPT_URL, address.constData());
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout_.count()));
  if (postBody) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, postBody->constData());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(postBody->size()));
  } else {
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  }
  const CURLcode result = RunTransferWhile(session_->multi.get(), curl, kPollMilliseconds, whileWaiting_);
  aborted_ = result == CURLE_ABORTED_BY_CALLBACK;
  if (session_->page.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
    document_ = HtmlDocument::Refused(PageRefusal::TooLarge, url);
    lastError_ = document_.refusal();
    return false;
  }
  if (result != CURLE_OK) {
    lastError_ = aborted_ ? QStringLiteral("stopped") : QString::fromUtf8(curl_easy_strerror(result));
    return false;
  }
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 400) {
    lastError_ = QStringLiteral("HTTP status %1").arg(status);
    return false;
  }
  char* effective = nullptr;
  curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &effective);
  const QUrl pageAddress(QString::fromUtf8(effective ? effective : address.constData()));
  QByteArray page = std::move(session_->page.received);
  session_->page = PageBuffer();
  return read(std::move(page), pageAddress);
}

platform::reader::ReaderRun PageReaderRun(QByteArray page) {
  platform::reader::ReaderRun run;
  run.mode = platform::reader::ReaderMode::Page;
  run.input = std::move(page);
  run.limits.cpuSeconds = kPageCpuSeconds;
  run.limits.deadline = kPageDeadline;
  return run;
}

bool WebBrowser::read(QByteArray page, const QUrl& address) {
  platform::reader::ReaderRun run = PageReaderRun(std::move(page));
  run.cancelled = [this] { return whileWaiting_ && !whileWaiting_(); };
  const platform::reader::ReaderOutcome outcome = platform::reader::RunReader(run);
  if (outcome.end == platform::reader::ReaderEnd::Cancelled) {
    aborted_ = true;
    document_ = HtmlDocument();
    lastError_ = QStringLiteral("stopped");
    return false;
  }
  document_ = outcome.answered() ? HtmlDocument::FromAnswer(outcome.answer, address)
                                 : HtmlDocument::Refused(RefusalOfReaderEnd(outcome.end), address);
  lastError_ = document_.refusal();
  return lastError_.isEmpty();
}

}  // namespace platform::browser
