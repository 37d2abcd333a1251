#pragma once
// A parsed web page as a browser's document object gives it: every element in document order
// (the position of an element in that order is its source index), reachable by position, by its
// name attribute and by its id, with its text, its markup, its resolved link, and the values of
// form fields, which the caller can change before a form is sent.
//
// Parsing follows the HTML5 rules (gumbo), so the implied html, head and body elements count
// like in any browser. A page is outside input: one larger than kMaxPageBytes, whose elements
// nest deeper than kMaxNestingDepth, that makes more than kMaxElements elements, or has more
// than kMaxAttributes attributes or a tag with more than kMaxAttributesPerTag, is refused (an empty document with the
// reason) before the parser reads it, as the nesting scan (html_nesting.h) judges it. So no page
// can take the parser down, keep it busy for long, or make it take more than a few hundred MB.

#include "platform/browser/html_nesting.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace platform::browser {

// What sending a form produces: the address, the method and the url-encoded fields.
struct FormSubmission {
  QUrl url;
  bool post = false;
  QByteArray body;  // the fields, url-encoded (for GET they are the query instead)
};

inline constexpr qsizetype kMaxPageBytes = 8 * 1024 * 1024;
inline constexpr int kMaxNestingDepth = 1000;
// Far more than a forum page needs (its pages have a few thousand), and few enough that the
// largest page takes well under 256 MB.
inline constexpr std::int64_t kMaxElements = 200'000;  // comments included
inline constexpr std::size_t kMaxAttributesPerTag = 256;
inline constexpr std::int64_t kMaxAttributes = 200'000;
inline constexpr NestingLimits kPageLimits{kMaxNestingDepth, kMaxElements, kMaxAttributesPerTag, kMaxAttributes};

class HtmlDocument {
 public:
  HtmlDocument() = default;
  // Parses a page fetched from `address`, against which its links are resolved. Other limits
  // than the page reader's serve to measure pages (tests, benchmarks).
  static HtmlDocument Parse(const QByteArray& utf8Html, const QUrl& address, const NestingLimits& limits = kPageLimits);

  // Why the page was refused (too large, nested too deep); empty for a page that was read.
  QString refusal() const { return refusal_; }

  QUrl address() const { return address_; }
  int count() const { return static_cast<int>(elements_.size()); }
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
  friend class DocumentBuilder;
  struct Element {
    QString tag;  // shared between the elements of one tag
    std::vector<std::pair<QString, QString>> attributes;  // names in lower case
    // The element's markup and text, as stretches of the page's markup and text.
    qsizetype htmlStart = 0;
    qsizetype htmlLength = 0;
    qsizetype textStart = 0;
    qsizetype textLength = 0;
    int form = -1;  // the enclosing form's position
    int depth = 0;
  };

  QString ownText(int index) const;

  QUrl address_;
  QString refusal_;
  std::vector<Element> elements_;
  QString html_;  // the markup of the whole page, in document order
  QString text_;  // the text of the whole page
  std::map<int, QString> values_;  // changed field values, by position
};

}  // namespace platform::browser
