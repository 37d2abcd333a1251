#pragma once
// A parsed web page as a browser's document object gives it: every element in document order
// (the position of an element in that order is its source index), reachable by position, by its
// name attribute and by its id, with its text, its markup, its resolved link, and the values of
// form fields, which the caller can change before a form is sent.
//
// Parsing follows the HTML5 rules (gumbo), so the implied html, head and body elements count
// like in any browser.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <map>
#include <vector>

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
  // Parses a page fetched from `address`, against which its links are resolved.
  static HtmlDocument Parse(const QByteArray& utf8Html, const QUrl& address);

  QUrl address() const { return address_; }
  int count() const { return static_cast<int>(elements_.size()); }

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

  // Element properties; an index out of range gives empty texts.
  QString tag(int index) const;
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
  friend class DocumentBuilder;
  struct Element {
    QString tag;
    std::map<QString, QString> attributes;  // names in lower case
    QString outerHtml;
    QString innerText;
    int form = -1;  // the enclosing form's position
  };

  QUrl address_;
  std::vector<Element> elements_;
  std::map<int, QString> values_;  // changed field values, by position
};

}  // namespace platform::browser
