#include "platform/browser/html_document.h"

#include "platform/browser/html_nesting.h"

#include <gumbo.h>

#include <QSet>

#include <memory>

namespace platform::browser {
namespace {

bool IsRawTextTag(const QString& tag) { return tag == "script" || tag == "style"; }

void AppendEscapedText(QString& html, const QString& text) {
  for (const QChar c : text) {
    if (c == u'&') {
      html += QStringLiteral("&amp;");
    } else if (c == u'<') {
      html += QStringLiteral("&lt;");
    } else if (c == u'>') {
      html += QStringLiteral("&gt;");
    } else {
      html += c;
    }
  }
}

QString EscapedAttribute(const QString& value) {
  QString escaped = value;
  escaped.replace('&', "&amp;").replace('"', "&quot;");
  return escaped;
}

struct GumboOutputDeleter {
  void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};

// The parser keeps every parse error it meets; a hostile page can have one per byte. A few are
// enough, and nothing reads them.
constexpr int kKeptParseErrors = 16;

}  // namespace

// Builds the element list in document order. The tree is walked with a stack of its own (a page
// may nest far deeper than the call stack allows), and all markup and text go into one string
// each, of which every element keeps its stretch: the memory stays linear in the page's size
// however deep the elements nest.
class DocumentBuilder {
 public:
  explicit DocumentBuilder(HtmlDocument& document) : document_(document) {}

  // False when the tree nests deeper than the limit.
  bool build(const GumboNode* root, int depthLimit) {
    std::vector<Frame> stack;
    stack.push_back({root, 0, -1, -1, false});
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const GumboVector* children = Children(frame.node);
      if (children && frame.next < children->length) {
        const auto* child = static_cast<const GumboNode*>(children->data[frame.next++]);
        const int form = frame.form;
        const bool rawText = frame.rawText;
        if (!IsElement(child)) {
          appendLeaf(child, rawText);
          continue;
        }
        if (static_cast<int>(stack.size()) > depthLimit) return false;
        const int index = open(child->v.element, form, static_cast<int>(stack.size()));
        const QString& tag = document_.elements_.back().tag;
        stack.push_back({child, 0, index, tag == QStringLiteral("form") ? index : form, IsRawTextTag(tag)});
        continue;
      }
      if (frame.element >= 0) close(frame.element);
      stack.pop_back();
    }
    return true;
  }

 private:
  struct Frame {
    const GumboNode* node;
    unsigned next;  // the next child to visit
    int element;    // the node's position in the element list; -1 for the document
    int form;       // the enclosing form's position, for the node's children
    bool rawText;   // the children are raw text (script, style)
  };

  static bool IsElement(const GumboNode* node) {
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
  }

  static const GumboVector* Children(const GumboNode* node) {
    if (node->type == GUMBO_NODE_DOCUMENT) return &node->v.document.children;
    return IsElement(node) ? &node->v.element.children : nullptr;
  }

  // Tag names repeat on every page; each is stored once and shared.
  QString tagName(const GumboElement& element) {
    QString name;
    if (element.tag != GUMBO_TAG_UNKNOWN) {
      name = QString::fromUtf8(gumbo_normalized_tagname(element.tag));
    } else {
      GumboStringPiece piece = element.original_tag;
      gumbo_tag_from_original_text(&piece);
      name = QString::fromUtf8(piece.data, static_cast<qsizetype>(piece.length)).toLower();
    }
    const auto known = tagNames_.constFind(name);
    if (known != tagNames_.constEnd()) return *known;
    tagNames_.insert(name);
    return name;
  }

  void appendLeaf(const GumboNode* node, bool rawText) {
    const QString content = QString::fromUtf8(node->v.text.text);
    if (node->type == GUMBO_NODE_COMMENT) {
      document_.html_ += QStringLiteral("<!--") + content + QStringLiteral("-->");
      return;
    }
    if (rawText) {
      document_.html_ += content;
      return;
    }
    AppendEscapedText(document_.html_, content);
    document_.text_ += content;
  }

  int open(const GumboElement& gumbo, int form, int depth) {
    const int index = document_.count();
    HtmlDocument::Element element;
    element.tag = tagName(gumbo);
    element.form = form;
    element.depth = depth;
    element.htmlStart = document_.html_.size();
    element.textStart = document_.text_.size();
    QString& html = document_.html_;
    html += u'<' + element.tag;
    element.attributes.reserve(gumbo.attributes.length);
    for (unsigned i = 0; i < gumbo.attributes.length; ++i) {
      const auto* attribute = static_cast<const GumboAttribute*>(gumbo.attributes.data[i]);
      const QString name = QString::fromUtf8(attribute->name).toLower();
      const QString value = QString::fromUtf8(attribute->value);
      html += u' ' + name + QStringLiteral("=\"") + EscapedAttribute(value) + u'"';
      element.attributes.emplace_back(name, value);
    }
    html += u'>';
    document_.elements_.push_back(std::move(element));
    return index;
  }

  void close(int index) {
    HtmlDocument::Element& element = document_.elements_[static_cast<std::size_t>(index)];
    if (!IsVoidElement(element.tag.toStdString())) document_.html_ += QStringLiteral("</") + element.tag + u'>';
    element.htmlLength = document_.html_.size() - element.htmlStart;
    element.textLength = document_.text_.size() - element.textStart;
  }

  HtmlDocument& document_;
  QSet<QString> tagNames_;
};

HtmlDocument HtmlDocument::Parse(const QByteArray& utf8Html, const QUrl& address, const NestingLimits& limits) {
  HtmlDocument document;
  document.address_ = address;
  if (utf8Html.size() > kMaxPageBytes) {
    document.refusal_ = QStringLiteral("the page is larger than %1 MB").arg(kMaxPageBytes / (1024 * 1024));
    return document;
  }
  const QString tooDeep = QStringLiteral("the page nests deeper than %1 levels").arg(limits.depth);
  const NestingEstimate estimate = EstimateNesting(utf8Html, limits);
  if (estimate.overLimit) {
    if (estimate.depth > limits.depth) {
      document.refusal_ = tooDeep;
    } else if (estimate.elements > limits.elements) {
      document.refusal_ = QStringLiteral("the page has more than %1 elements").arg(limits.elements);
    } else if (estimate.attributesPerTag > limits.attributesPerTag) {
      document.refusal_ = QStringLiteral("a tag of the page has more than %1 attributes").arg(limits.attributesPerTag);
    } else {
      document.refusal_ = QStringLiteral("the page has more than %1 attributes").arg(limits.attributes);
    }
    return document;
  }
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = kKeptParseErrors;
  const std::unique_ptr<GumboOutput, GumboOutputDeleter> output(
      gumbo_parse_with_options(&options, utf8Html.constData(), static_cast<std::size_t>(utf8Html.size())));
  if (!output) {
    document.refusal_ = QStringLiteral("the page cannot be read");
    return document;
  }
  if (!DocumentBuilder(document).build(output->document, limits.depth)) {
    document = HtmlDocument();
    document.address_ = address;
    document.refusal_ = tooDeep;
  }
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

int HtmlDocument::depth(int index) const {
  return index >= 0 && index < count() ? elements_[static_cast<std::size_t>(index)].depth : 0;
}

QString HtmlDocument::attribute(int index, const QString& name) const {
  if (index < 0 || index >= count()) return {};
  const QString wanted = name.toLower();
  for (const auto& [key, value] : elements_[static_cast<std::size_t>(index)].attributes) {
    if (key == wanted) return value;
  }
  return {};
}

bool HtmlDocument::hasAttribute(int index, const QString& name) const {
  if (index < 0 || index >= count()) return false;
  const QString wanted = name.toLower();
  for (const auto& attribute : elements_[static_cast<std::size_t>(index)].attributes) {
    if (attribute.first == wanted) return true;
  }
  return false;
}

QString HtmlDocument::innerText(int index) const {
  if (index < 0 || index >= count()) return {};
  if (tag(index) == "textarea") return value(index);
  return ownText(index);
}

QString HtmlDocument::ownText(int index) const {
  const Element& element = elements_[static_cast<std::size_t>(index)];
  return text_.mid(element.textStart, element.textLength);
}

QString HtmlDocument::outerHtml(int index) const {
  if (index < 0 || index >= count()) return {};
  const Element& element = elements_[static_cast<std::size_t>(index)];
  return html_.mid(element.htmlStart, element.htmlLength);
}

QString HtmlDocument::href(int index) const {
  const QString link = attribute(index, "href");
  return link.isEmpty() ? QString() : address_.resolved(QUrl(link)).toString();
}

QString HtmlDocument::value(int index) const {
  const auto changed = values_.find(index);
  if (changed != values_.end()) return changed->second;
  const QString kind = tag(index);
  if (kind == "textarea") return ownText(index);
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
