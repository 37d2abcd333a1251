#pragma once
// A browser without a window, for driving a web site's ordinary pages: it fetches a page, keeps
// the site's cookies (a log-on holds across pages), follows redirects, and has the reader helper
// parse the page into an HtmlDocument whose links can be followed and whose forms can be filled
// and sent.
//
// Each page is fetched and read synchronously, but while it transfers and while the reader works
// the caller's `whileWaiting` handler runs (typically letting the windows process their messages)
// and can end the transfer or the reading at once; a page that does not arrive within its
// time-out fails, and so does one that grows past the page size limit (the transfer stops there)
// or that the reader refuses or cannot read (over a limit, out of time or memory, crashed): the
// document then says why (HtmlDocument::refusalReason). Nothing spins while waiting.

#include "platform/browser/html_document.h"
#include "platform/reader/reader_process.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace platform::browser {

// The reader's run for one page, with the bounds the browser gives it (no progress, no Cancel).
platform::reader::ReaderRun PageReaderRun(QByteArray page);

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
  // Why the last fetch failed: a transfer error, an HTTP status, an abort, or why the page was
  // refused.
  QString lastError() const { return lastError_; }
  bool aborted() const { return aborted_; }

 private:
  bool fetch(const QUrl& url, const QByteArray* postBody);
  // Has the reader read the page fetched from `address` into the document.
  bool read(QByteArray page, const QUrl& address);

  struct Session;
  std::unique_ptr<Session> session_;
  std::function<bool()> whileWaiting_;
  std::chrono::milliseconds timeout_{std::chrono::seconds(30)};
  HtmlDocument document_;
  QString lastError_;
  bool aborted_ = false;
};

}  // namespace platform::browser
