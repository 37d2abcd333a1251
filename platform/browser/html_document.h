#pragma once
// A parsed web page as a browser's document object gives it: every element in document order
// (the position of an element in that order is its source index), reachable by position, by its
// name attribute and by its id, with its text, its markup, its resolved link, and the values of
// form fields, which the caller can change before a form is sent.
//
// The page is read by the reader helper (page_answer.h), never in the program's own process: a
// document is made from the reader's answer, or is an empty document that says why the page was
// refused (over a limit, a reader that failed or answered nonsense).

#include "platform/browser/page_answer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <map>

namespace platform::browser {

// What sending a form produces: the address, the method and the url-encoded fields.
struct FormSubmission {
  QUrl url;
  bool post = false;
  QByteArray body;  // the fields, url-encoded (for GET they are the query instead)
};

class HtmlDocument {
 public:
  HtmlDocument() = default;
  // The page fetched from `address` (against which its links are resolved) as the reader's
  // answer gives it: a refused page when the answer is a refusal or cannot be trusted.
  static HtmlDocument FromAnswer(QByteArrayView answer, const QUrl& address);
  // An empty document for a page that was not read.
  static HtmlDocument Refused(PageRefusal why, const QUrl& address);

  // Why the page was refused; None for a page that was read.
  PageRefusal refusalReason() const { return refusal_; }
  // The same in plain English; empty for a page that was read.
  QString refusal() const { return PageRefusalText(refusal_); }

  QUrl address() const { return address_; }
  int count() const { return static_cast<int>(content_.elements.size()); }
  // True when the page has an element at that position.
  bool has(int index) const { return index >= 0 && index < count(); }

  // The position of the nth element (from 0) whose name attribute is `name`, or -1.
  int byName(const QString& name, int nth = 0) const;
  // The position of the first element whose id is `id`, or -1.
  int byId(const QString& id) const;
  // The position of the nth form of the page (from 0), or of the form named `name`; -1 if none.
  int form(int nth) const;
  int formByName(const QString& name) const;
  // The position of the field named `name` inside the form at `formIndex`, or -1.
  int fieldOfForm(int formIndex, const QString& name) const;
  // The form an element belongs to, or -1.
  int formOf(int index) const;

  // Element properties; an index out of range gives empty texts (test has() where a missing
  // element means the page is not the one expected).
  QString tag(int index) const;
  // How deep the element lies in the tree: the html element is at 1; 0 out of range.
  int depth(int index) const;
  QString attribute(int index, const QString& name) const;
  bool hasAttribute(int index, const QString& name) const;
  QString innerText(int index) const;
  QString outerHtml(int index) const;
  QString href(int index) const;  // the link resolved against the page's address
  // A field's value: an input's value, a text area's text, a select's chosen option.
  QString value(int index) const;
  void setValue(int index, const QString& value);

  // The submission of the form at `formIndex`, sent by the button at `submitter` (or -1).
  FormSubmission submission(int formIndex, int submitter = -1) const;

 private:
  QString ownText(int index) const;

  QUrl address_;
  PageRefusal refusal_ = PageRefusal::None;
  PageContent content_;
  std::map<int, QString> values_;  // changed field values, by position
};

}  // namespace platform::browser
