#pragma once
// A browser without a window, for driving a web site's ordinary pages: it fetches a page, keeps
// the site's cookies (a log-on holds across pages), follows redirects, and parses the page into
// an HtmlDocument whose links can be followed and whose forms can be filled and sent.
//
// Each page is fetched synchronously, but while it transfers the caller's `whileWaiting`
// handler runs (typically letting the windows process their messages) and can end the transfer
// at once; a page that does not arrive within its time-out fails, and so does one that grows past
// the page size limit (the transfer stops there) or that the document refuses. Nothing spins
// while waiting.

#include "platform/browser/html_document.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace platform::browser {

class WebBrowser {
 public:
  WebBrowser();
  ~WebBrowser();
  WebBrowser(const WebBrowser&) = delete;
  WebBrowser& operator=(const WebBrowser&) = delete;

  // Called repeatedly while a page transfers; returning false aborts the transfer.
  void setWhileWaiting(std::function<bool()> whileWaiting) { whileWaiting_ = std::move(whileWaiting); }
  void setTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

  // Each returns true when a page arrived (HTTP status below 400) and became the document.
  bool Navigate(const QString& address);
  // Sends the form at `formIndex` of the current document, as the button at `submitter` would.
  bool Submit(int formIndex, int submitter = -1);
  // Clicks an element: follows a link, or sends the form of a submit button.
  bool Click(int index);

  HtmlDocument& document() { return document_; }
  // Why the last fetch failed: a transfer error, an HTTP status, or an abort.
  QString lastError() const { return lastError_; }
  bool aborted() const { return aborted_; }

 private:
  bool fetch(const QUrl& url, const QByteArray* postBody);

  struct Session;
  std::unique_ptr<Session> session_;
  std::function<bool()> whileWaiting_;
  std::chrono::milliseconds timeout_{std::chrono::seconds(30)};
  HtmlDocument document_;
  QString lastError_;
  bool aborted_ = false;
};

}  // namespace platform::browser
