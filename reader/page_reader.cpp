#include "reader/page_reader.h"

#include <gumbo.h>

#include <QHash>
#include <QSet>

#include <cstdlib>
#include <new>
#include <vector>

namespace reader {
namespace {

using platform::browser::PageAnswer;
using platform::browser::PageContent;
using platform::browser::PageElement;
using platform::browser::PageLimits;
using platform::browser::PageRefusal;

// The parser's memory. Every block it takes is linked into one list, so the whole tree goes at
// once, block by block, when the reading ends: the parser's own free walks the tree recursively,
// and a tree a few hundred thousand levels deep would overflow the stack there.
class ParserMemory {
 public:
  ParserMemory() = default;
  ParserMemory(const ParserMemory&) = delete;
  ParserMemory& operator=(const ParserMemory&) = delete;
  ~ParserMemory() {
    while (head_.next != &head_) release(head_.next);
  }

  static void* Allocate(void* memory, std::size_t size) { return static_cast<ParserMemory*>(memory)->allocate(size); }
  static void Free(void* /*memory*/, void* block) {
    if (block) release(static_cast<Block*>(block) - 1);
  }

 private:
  // Sixteen bytes before each block: the parser's blocks keep malloc's alignment.
  struct alignas(16) Block {
    Block* previous;
    Block* next;
  };

  // Like operator new: when memory runs out, the installed handler gets its turn (the reader's
  // ends the process as out of memory); without one the reading cannot go on.
  void* allocate(std::size_t size) {
    void* raw = nullptr;
    while (!(raw = std::malloc(sizeof(Block) + size))) {
      const std::new_handler handler = std::get_new_handler();
      if (!handler) std::abort();
      handler();
    }
    auto* block = static_cast<Block*>(raw);
    block->previous = &head_;
    block->next = head_.next;
    head_.next->previous = block;
    head_.next = block;
    return block + 1;
  }

  static void release(Block* block) {
    block->previous->next = block->next;
    block->next->previous = block->previous;
    std::free(block);
  }

  Block head_{&head_, &head_};
};

// The parser keeps every parse error it meets; a hostile page can have one per byte. A few are
// enough, and nothing reads them.
constexpr int kKeptParseErrors = 16;

bool IsRawTextTag(const QString& tag) { return tag == QStringLiteral("script") || tag == QStringLiteral("style"); }

// The elements that never hold children and so have no end tag in an element's markup.
bool IsVoidTag(const QString& tag) {
  static const QSet<QString> kVoid = {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr",
                                      "image", "img", "input", "keygen", "link", "meta", "param", "source",
                                      "track", "wbr"};
  return kVoid.contains(tag);
}

// Text escapes &, < and >; an attribute's value & and the quote around it.
void AppendEscaped(QString& html, QStringView text, bool attribute) {
  qsizetype plain = 0;  // the start of the run not yet appended
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    QLatin1String entity;
    if (c == u'&') {
      entity = QLatin1String("&amp;");
    } else if (c == u'"' && attribute) {
      entity = QLatin1String("&quot;");
    } else if (c == u'<' && !attribute) {
      entity = QLatin1String("&lt;");
    } else if (c == u'>' && !attribute) {
      entity = QLatin1String("&gt;");
    } else {
      continue;
    }
    html += text.mid(plain, i - plain);
    html += entity;
    plain = i + 1;
  }
  html += text.mid(plain);
}

// Walks the parsed tree in document order with a stack of its own, counting what the limits
// bound as it goes, and puts all markup and text into one string each, of which every element
// keeps its stretch: the answer stays linear in the page's size however deep the elements nest.
class PageWalk {
 public:
  explicit PageWalk(const PageLimits& limits) : limits_(limits) {}

  PageRefusal walk(const GumboNode* root) {
    std::vector<Frame> stack;
    stack.push_back({root, 0, -1, -1, false});
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const GumboVector* children = Children(frame.node);
      if (!children || frame.next >= children->length) {
        if (frame.element >= 0) close(frame.element);
        stack.pop_back();
        continue;
      }
      const auto* child = static_cast<const GumboNode*>(children->data[frame.next++]);
      const int form = frame.form;
      const bool rawText = frame.rawText;
      if (child->type == GUMBO_NODE_COMMENT && ++nodes_ > limits_.elements) return PageRefusal::TooManyElements;
      if (!IsElement(child)) {
        appendLeaf(child, rawText);
        continue;
      }
      if (static_cast<int>(stack.size()) > limits_.depth) return PageRefusal::TooDeep;
      if (++nodes_ > limits_.elements) return PageRefusal::TooManyElements;
      const unsigned attributes = child->v.element.attributes.length;
      if (attributes > limits_.attributesPerTag) return PageRefusal::TooManyAttributesInTag;
      attributes_ += attributes;
      if (attributes_ > limits_.attributes) return PageRefusal::TooManyAttributes;
      const int index = open(child->v.element, form, static_cast<int>(stack.size()));
      const QString& tag = content_.tags[content_.elements.back().tag];
      stack.push_back({child, 0, index, tag == QStringLiteral("form") ? index : form, IsRawTextTag(tag)});
    }
    return PageRefusal::None;
  }

  PageContent take() { return std::move(content_); }

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

  // Tag names repeat on every page; each is stored once.
  std::uint32_t tagIndex(const GumboElement& element) {
    QString name;
    if (element.tag != GUMBO_TAG_UNKNOWN) {
      name = QString::fromUtf8(gumbo_normalized_tagname(element.tag));
    } else {
      GumboStringPiece piece = element.original_tag;
      gumbo_tag_from_original_text(&piece);
      name = QString::fromUtf8(piece.data, static_cast<qsizetype>(piece.length)).toLower();
    }
    const auto known = tagIndexes_.constFind(name);
    if (known != tagIndexes_.constEnd()) return *known;
    const auto index = static_cast<std::uint32_t>(content_.tags.size());
    tagIndexes_.insert(name, index);
    content_.tags.push_back(name);
    return index;
  }

  void appendLeaf(const GumboNode* node, bool rawText) {
    const QString text = QString::fromUtf8(node->v.text.text);
    if (node->type == GUMBO_NODE_COMMENT) {
      content_.html += QLatin1String("<!--");
      content_.html += text;
      content_.html += QLatin1String("-->");
      return;
    }
    if (rawText) {
      content_.html += text;
      return;
    }
    AppendEscaped(content_.html, text, false);
    content_.text += text;
  }

  int open(const GumboElement& gumbo, int form, int depth) {
    const int index = static_cast<int>(content_.elements.size());
    PageElement element;
    element.tag = tagIndex(gumbo);
    element.form = form;
    element.depth = depth;
    element.htmlStart = content_.html.size();
    element.textStart = content_.text.size();
    // Appended piece by piece: no temporary strings for the parts.
    QString& html = content_.html;
    html += u'<';
    html += content_.tags[element.tag];
    element.attributes.reserve(gumbo.attributes.length);
    for (unsigned i = 0; i < gumbo.attributes.length; ++i) {
      const auto* attribute = static_cast<const GumboAttribute*>(gumbo.attributes.data[i]);
      QString name = QString::fromUtf8(attribute->name).toLower();
      QString value = QString::fromUtf8(attribute->value);
      html += u' ';
      html += name;
      html += QLatin1String("=\"");
      AppendEscaped(html, value, true);
      html += u'"';
      element.attributes.emplace_back(std::move(name), std::move(value));
    }
    html += u'>';
    content_.elements.push_back(std::move(element));
    return index;
  }

  void close(int index) {
    PageElement& element = content_.elements[static_cast<std::size_t>(index)];
    const QString& tag = content_.tags[element.tag];
    if (!IsVoidTag(tag)) {
      content_.html += QLatin1String("</");
      content_.html += tag;
      content_.html += u'>';
    }
    element.htmlLength = content_.html.size() - element.htmlStart;
    element.textLength = content_.text.size() - element.textStart;
  }

  const PageLimits& limits_;
  PageContent content_;
  QHash<QString, std::uint32_t> tagIndexes_;
  std::int64_t nodes_ = 0;       // elements and comments met so far
  std::int64_t attributes_ = 0;  // attributes met so far
};

}  // namespace

PageAnswer ReadPage(QByteArrayView page, const PageLimits& limits) {
  if (page.size() > platform::browser::kMaxPageBytes) return {PageRefusal::TooLarge, {}};
  ParserMemory memory;
  GumboOptions options = kGumboDefaultOptions;
  options.allocator = &ParserMemory::Allocate;
  options.deallocator = &ParserMemory::Free;
  options.userdata = &memory;
  options.max_errors = kKeptParseErrors;
  const GumboOutput* output = gumbo_parse_with_options(&options, page.data(), static_cast<std::size_t>(page.size()));
  if (!output) return {PageRefusal::Unreadable, {}};
  PageWalk walk(limits);
  const PageRefusal refusal = walk.walk(output->document);
  if (refusal != PageRefusal::None) return {refusal, {}};
  return {PageRefusal::None, walk.take()};
}

}  // namespace reader
