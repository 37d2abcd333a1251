#include "platform/browser/html_document.h"

#include <gumbo.h>

#include <QSet>

#include <memory>

namespace platform::browser {
namespace {

bool IsVoidTag(const QString& tag) {
  static const QSet<QString> kVoid = {"area", "base", "br",    "col",   "embed", "hr",  "img",
                                      "input", "link", "meta", "param", "source", "track", "wbr"};
  return kVoid.contains(tag);
}

bool IsRawTextTag(const QString& tag) { return tag == "script" || tag == "style"; }

QString EscapedText(const QString& text) {
  QString escaped = text;
  escaped.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
  return escaped;
}

QString EscapedAttribute(const QString& value) {
  QString escaped = value;
  escaped.replace('&', "&amp;").replace('"', "&quot;");
  return escaped;
}

QString TagName(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) return QString::fromUtf8(gumbo_normalized_tagname(element.tag));
  GumboStringPiece piece = element.original_tag;
  gumbo_tag_from_original_text(&piece);
  return QString::fromUtf8(piece.data, static_cast<qsizetype>(piece.length)).toLower();
}

struct GumboOutputDeleter {
  void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};

}  // namespace

// Builds the element list in document order, with each element's markup and text.
class DocumentBuilder {
 public:
  explicit DocumentBuilder(std::vector<HtmlDocument::Element>& elements) : elements_(elements) {}

  // Appends the node's markup to `html` and its text to `text`; elements are numbered on entry.
  void walk(const GumboNode* node, int form, bool rawText, QString& html, QString& text) {
    switch (node->type) {
      case GUMBO_NODE_DOCUMENT:
        walkChildren(&node->v.document.children, form, false, html, text);
        return;
      case GUMBO_NODE_TEXT:
      case GUMBO_NODE_WHITESPACE:
      case GUMBO_NODE_CDATA: {
        const QString content = QString::fromUtf8(node->v.text.text);
        html += rawText ? content : EscapedText(content);
        if (!rawText) text += content;
        return;
      }
      case GUMBO_NODE_COMMENT:
        html += "<!--" + QString::fromUtf8(node->v.text.text) + "-->";
        return;
      case GUMBO_NODE_ELEMENT:
      case GUMBO_NODE_TEMPLATE:
        walkElement(node->v.element, form, html, text);
        return;
    }
  }

 private:
  void walkChildren(const GumboVector* children, int form, bool rawText, QString& html, QString& text) {
    for (unsigned i = 0; i < children->length; ++i) {
      walk(static_cast<const GumboNode*>(children->data[i]), form, rawText, html, text);
    }
  }

  void walkElement(const GumboElement& gumbo, int form, QString& html, QString& text) {
    const int index = static_cast<int>(elements_.size());
    elements_.emplace_back();
    HtmlDocument::Element element;
    element.tag = TagName(gumbo);
    element.form = form;
    QString open = '<' + element.tag;
    for (unsigned i = 0; i < gumbo.attributes.length; ++i) {
      const auto* attribute = static_cast<const GumboAttribute*>(gumbo.attributes.data[i]);
      const QString name = QString::fromUtf8(attribute->name).toLower();
      const QString value = QString::fromUtf8(attribute->value);
      element.attributes.emplace(name, value);
      open += ' ' + name + "=\"" + EscapedAttribute(value) + '"';
    }
    open += '>';
    const int childForm = element.tag == "form" ? index : form;
    QString innerHtml;
    QString innerText;
    walkChildren(&gumbo.children, childForm, IsRawTextTag(element.tag), innerHtml, innerText);
    element.outerHtml = open + innerHtml + (IsVoidTag(element.tag) ? QString() : "</" + element.tag + '>');
    element.innerText = innerText;
    html += element.outerHtml;
    text += innerText;
    elements_[static_cast<std::size_t>(index)] = std::move(element);
  }

  std::vector<HtmlDocument::Element>& elements_;
};

HtmlDocument HtmlDocument::Parse(const QByteArray& utf8Html, const QUrl& address) {
  HtmlDocument document;
  document.address_ = address;
  const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
      gumbo_parse_with_options(&kGumboDefaultOptions, utf8Html.constData(),
                               static_cast<std::size_t>(utf8Html.size())));
  if (!output) return document;
  QString html;
  QString text;
  DocumentBuilder(document.elements_).walk(output->document, -1, false, html, text);
  return document;
}

int HtmlDocument::byName(const QString& name, int nth) const {
  for (int i = 0; i < count(); ++i) {
    if (attribute(i, "name") == name && nth-- == 0) return i;
  }
  return -1;
}

int HtmlDocument::byId(const QString& id) const {
  for (int i = 0; i < count(); ++i) {
    if (attribute(i, "id") == id) return i;
  }
  return -1;
}

int HtmlDocument::form(int nth) const {
  for (int i = 0; i < count(); ++i) {
    if (tag(i) == "form" && nth-- == 0) return i;
  }
  return -1;
}

int HtmlDocument::formByName(const QString& name) const {
  for (int i = 0; i < count(); ++i) {
    if (tag(i) == "form" && attribute(i, "name") == name) return i;
  }
  return -1;
}

int HtmlDocument::fieldOfForm(int formIndex, const QString& name) const {
  if (formIndex < 0) return -1;
  for (int i = formIndex + 1; i < count(); ++i) {
    if (formOf(i) == formIndex && attribute(i, "name") == name) return i;
  }
  return -1;
}

int HtmlDocument::formOf(int index) const {
  return index >= 0 && index < count() ? elements_[static_cast<std::size_t>(index)].form : -1;
}

QString HtmlDocument::tag(int index) const {
  return index >= 0 && index < count() ? elements_[static_cast<std::size_t>(index)].tag : QString();
}

QString HtmlDocument::attribute(int index, const QString& name) const {
  if (index < 0 || index >= count()) return {};
  const auto& attributes = elements_[static_cast<std::size_t>(index)].attributes;
  const auto found = attributes.find(name.toLower());
  return found == attributes.end() ? QString() : found->second;
}

bool HtmlDocument::hasAttribute(int index, const QString& name) const {
  return index >= 0 && index < count() &&
         elements_[static_cast<std::size_t>(index)].attributes.count(name.toLower()) > 0;
}

QString HtmlDocument::innerText(int index) const {
  if (index < 0 || index >= count()) return {};
  if (tag(index) == "textarea") return value(index);
  return elements_[static_cast<std::size_t>(index)].innerText;
}

QString HtmlDocument::outerHtml(int index) const {
  return index >= 0 && index < count() ? elements_[static_cast<std::size_t>(index)].outerHtml : QString();
}

QString HtmlDocument::href(int index) const {
  const QString link = attribute(index, "href");
  return link.isEmpty() ? QString() : address_.resolved(QUrl(link)).toString();
}

QString HtmlDocument::value(int index) const {
  const auto changed = values_.find(index);
  if (changed != values_.end()) return changed->second;
  const QString kind = tag(index);
  if (kind == "textarea") return elements_[static_cast<std::size_t>(index)].innerText;
  if (kind == "select") {
    int first = -1;
    for (int i = index + 1; i < count() && tag(i) == "option"; ++i) {
      if (first < 0) first = i;
      if (hasAttribute(i, "selected")) first = i;
    }
    if (first < 0) return {};
    const QString optionValue = attribute(first, "value");
    return optionValue.isEmpty() ? innerText(first) : optionValue;
  }
  return attribute(index, "value");
}

void HtmlDocument::setValue(int index, const QString& value) {
  if (index >= 0 && index < count()) values_[index] = value;
}

FormSubmission HtmlDocument::submission(int formIndex, int submitter) const {
  FormSubmission sent;
  const QString action = attribute(formIndex, "action");
  sent.url = action.isEmpty() ? address_ : address_.resolved(QUrl(action));
  sent.post = attribute(formIndex, "method").compare("post", Qt::CaseInsensitive) == 0;
  QByteArray fields;
  auto add = [&fields](const QString& name, const QString& value) {
    if (!fields.isEmpty()) fields += '&';
    fields += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
  };
  for (int i = formIndex + 1; i < count() && formIndex >= 0; ++i) {
    if (formOf(i) != formIndex) continue;
    const QString name = attribute(i, "name");
    const QString kind = tag(i);
    if (name.isEmpty() || hasAttribute(i, "disabled")) continue;
    if (kind == "input") {
      const QString type = attribute(i, "type").toLower();
      if (type == "submit" || type == "button" || type == "image" || type == "reset" || type == "file") {
        if (i == submitter) add(name, value(i));
        continue;
      }
      if ((type == "checkbox" || type == "radio") && !hasAttribute(i, "checked")) continue;
      add(name, value(i));
    } else if (kind == "button") {
      if (i == submitter) add(name, value(i));
    } else if (kind == "textarea" || kind == "select") {
      add(name, value(i));
    }
  }
  if (sent.post) {
    sent.body = fields;
  } else {
    sent.url.setQuery(QString::fromLatin1(fields), QUrl::StrictMode);
  }
  return sent;
}

}  // namespace platform::browser
