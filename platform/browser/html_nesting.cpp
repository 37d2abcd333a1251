#include "platform/browser/html_nesting.h"

#include "platform/browser/html_element_traits.h"
#include "platform/browser/html_tag_scanner.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::browser {
namespace {

enum class Space : unsigned char { Html, Svg, MathMl };

// An element on the stack of open elements.
struct Open {
  std::string name;
  Space space = Space::Html;
  unsigned traits = 0;          // for HTML elements, and the special and scope traits of foreign ones
  bool htmlIntegration = false; // foreignObject, desc, title in SVG; annotation-xml holding HTML
  bool textIntegration = false; // mi, mo, mn, ms, mtext
  int id = 0;
  bool is(std::string_view html) const { return space == Space::Html && name == html; }
};

// An open element that decides how table and select tags are read. A template reads them as the
// first start tag in it decides: as in a table, its body, a row, or not at all.
struct Context {
  std::string name;
  std::string templateReadsAs;  // for a template: "table", "tbody", "tr", "colgroup", "body", or undecided ""
  bool inTable = false;         // for a select: opened in a table, whose tags end it
};

// An entry of the list of active formatting elements: a marker, or an element (which may have
// been closed since, and is then reopened where text next comes).
struct Formatting {
  bool marker = false;
  int id = 0;
  std::string name;
  std::string_view attributes;  // as written, trimmed: entries alike in these are the same element
  unsigned traits = 0;
};

class TreeShape {
 public:
  TreeShape(const QByteArray& html, const NestingLimits& limits)
      : scanner_(std::string_view(html.constData(), static_cast<std::size_t>(html.size())), limits.attributesPerTag + 1),
        limits_(limits) {
    estimate_.elements = 3;  // html, head and body are always made
    estimate_.depth = 2;
    onStack_.push_back(0);  // element numbers start at 1
    inList_.push_back(0);
  }

  NestingEstimate run() {
    while (!estimate_.overLimit) {
      const HtmlToken& token = scanner_.next(foreignCurrent());
      if (token.kind == HtmlToken::EndOfPage) break;
      countComments();
      if (token.kind == HtmlToken::Text) {
        text(token.textIsBlank);
      } else if (token.kind == HtmlToken::StartTag) {
        if (countAttributes(token)) startTag(token);
      } else if (countAttributes(token)) {
        endTag(token.name);
      }
    }
    countComments();
    return estimate_;
  }

 private:
  // The parser compares each attribute of a tag with those before it: many make it slow; and
  // each takes memory.
  bool countAttributes(const HtmlToken& token) {
    estimate_.attributesPerTag = std::max(estimate_.attributesPerTag, token.attributeCount);
    estimate_.attributes += static_cast<std::int64_t>(token.attributeCount);
    if (token.attributeCount > limits_.attributesPerTag || estimate_.attributes > limits_.attributes)
      estimate_.overLimit = true;
    return !estimate_.overLimit;
  }

  // Each comment is a node of the tree, and takes memory like an element.
  void countComments() {
    estimate_.elements += static_cast<std::int64_t>(scanner_.comments() - commentsCounted_);
    commentsCounted_ = scanner_.comments();
    if (estimate_.elements > limits_.elements) estimate_.overLimit = true;
  }

  // --- the stack of open elements -------------------------------------------------------------

  int depth() const { return 2 + static_cast<int>(stack_.size()) + pendingFormatting_; }

  int newElement() {
    ++estimate_.elements;
    if (estimate_.elements > limits_.elements) estimate_.overLimit = true;
    onStack_.push_back(0);
    inList_.push_back(0);
    return static_cast<int>(onStack_.size()) - 1;
  }

  void noteDepth() {
    estimate_.depth = std::max(estimate_.depth, depth());
    if (depth() > limits_.depth) estimate_.overLimit = true;
  }

  void push(Open open) {
    if (open.id == 0) open.id = newElement();
    onStack_[static_cast<std::size_t>(open.id)] = 1;
    const bool marker = open.space == Space::Html && (open.traits & kMarker);
    if (open.space == Space::Html && (open.traits & kContext)) {
      const std::string& in = context();
      const bool inTable = in == "table" || in == "tbody" || in == "thead" || in == "tfoot" || in == "tr" ||
                           in == "td" || in == "th" || in == "caption" || in == "colgroup";
      contexts_.push_back({open.name, {}, open.name == "select" && inTable});
    }
    if (open.is("p")) ++openParagraphs_;
    if (open.is("template")) ++openTemplates_;
    stack_.push_back(std::move(open));
    if (marker) formatting_.push_back({true, 0, {}, {}, 0});
    noteDepth();
  }

  void pushHtml(const std::string& name) { push(HtmlElement(name)); }

  // An element that is inserted and closed at once (void elements, text-only elements).
  void pushAndPop(const std::string& name) {
    pushHtml(name);
    popTop();
  }

  static Open HtmlElement(const std::string& name) {
    Open open;
    open.name = name;
    open.traits = TraitsOf(name);
    return open;
  }

  void leaveStack(const Open& open) {
    const auto id = static_cast<std::size_t>(open.id);
    onStack_[id] = 0;
    if (inList_[id]) ++pendingFormatting_;
    if (open.space == Space::Html && (open.traits & kContext)) contexts_.pop_back();
    if (open.is("p")) --openParagraphs_;
    if (open.is("template")) --openTemplates_;
  }

  // Pops the current node, and what stands for elements already taken off the parser's stack
  // below it: with nothing open inside them any more, they no longer hold a level.
  void popTop() {
    do {
      leaveStack(stack_.back());
      stack_.pop_back();
    } while (!stack_.empty() && stack_.back().name.empty());
  }

  // The parser takes the element off its stack, but what is open inside it stays open at its
  // level: the scan keeps the level, as an element no tag can name.
  void keepLevelOnly(std::size_t index) {
    leaveStack(stack_[index]);
    stack_[index].name.clear();
    stack_[index].traits = kKnown;
    stack_[index].id = 0;
  }

  // Pops the element at `index` and all above it. `tableClose`: a cell or caption that goes
  // with them closes, and the formatting elements opened inside it are forgotten.
  void popFrom(std::size_t index, bool tableClose = false) {
    bool cellClosed = false;
    while (stack_.size() > index) {
      const Open& top = stack_.back();
      if (top.is("td") || top.is("th") || top.is("caption")) cellClosed = true;
      popTop();
    }
    if (tableClose && cellClosed) clearToMarker();
  }

  // Removes an element below the top: what lies above it stays open.
  void eraseAt(std::size_t index) {
    leaveStack(stack_[index]);
    stack_.erase(stack_.begin() + static_cast<std::ptrdiff_t>(index));
  }

  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

  std::size_t topIndex() const { return stack_.size() - 1; }
  const Open* top() const { return stack_.empty() ? nullptr : &stack_.back(); }

  // The nearest open HTML element named `name` with no element of `bounds` above it.
  std::size_t inScope(std::string_view name, unsigned bounds) const {
    for (std::size_t i = stack_.size(); i-- > 0;) {
      if (stack_[i].is(name)) return i;
      if (stack_[i].traits & bounds) return kNone;
    }
    return kNone;
  }

  std::size_t nearest(std::string_view name) const {
    for (std::size_t i = stack_.size(); i-- > 0;) {
      if (stack_[i].is(name)) return i;
    }
    return kNone;
  }

  std::size_t indexOfId(int id) const {
    for (std::size_t i = stack_.size(); i-- > 0;) {
      if (stack_[i].id == id) return i;
    }
    return kNone;
  }

  // Pops until the top is an HTML element named in `names` (or nothing is left).
  void clearBackTo(std::initializer_list<std::string_view> names) {
    bool cellClosed = false;
    while (!stack_.empty()) {
      const Open& open = stack_.back();
      if (open.space == Space::Html && std::find(names.begin(), names.end(), open.name) != names.end()) break;
      if (open.is("td") || open.is("th") || open.is("caption")) cellClosed = true;
      popTop();
    }
    if (cellClosed) clearToMarker();
  }

  void closeParagraph() {
    if (openParagraphs_ == 0) return;
    const std::size_t p = inScope("p", kScope | kButtonScope);
    if (p != kNone) popFrom(p);
  }

  bool foreignCurrent() const { return !stack_.empty() && stack_.back().space != Space::Html; }

  // The element that decides how table and select tags are read: the nearest open td, th, tr,
  // table section, caption, colgroup, table, template or select ("" when none is open).
  const std::string& context() const {
    static const std::string kBody;
    if (contexts_.empty()) return kBody;
    const Context& nearest = contexts_.back();
    return nearest.name == "template" && !nearest.templateReadsAs.empty() ? nearest.templateReadsAs : nearest.name;
  }

  // A column group holds only columns: any other tag closes it first.
  void leaveColumnGroup() {
    if (top() && top()->is("colgroup")) popTop();
  }

  // The first start tag in a template decides how it reads table tags.
  void decideTemplate(const std::string& name) {
    if (contexts_.empty() || contexts_.back().name != "template" || !contexts_.back().templateReadsAs.empty()) return;
    static constexpr std::array<std::string_view, 10> kHeadTags = {"base",  "basefont", "bgsound",  "link",  "meta",
                                                                   "noframes", "script", "style", "template", "title"};
    if (std::find(kHeadTags.begin(), kHeadTags.end(), name) != kHeadTags.end()) return;
    static const std::unordered_map<std::string_view, std::string_view> kReadsAs = {
        {"caption", "table"}, {"colgroup", "table"}, {"tbody", "table"}, {"tfoot", "table"}, {"thead", "table"},
        {"col", "colgroup"},  {"tr", "tbody"},       {"td", "tr"},       {"th", "tr"}};
    const auto found = kReadsAs.find(name);
    contexts_.back().templateReadsAs = found == kReadsAs.end() ? "body" : std::string(found->second);
  }

  // A select opened in a table takes the table's tags as its end.
  bool selectInTable() const { return !contexts_.empty() && contexts_.back().inTable; }

  // --- the list of active formatting elements ----------------------------------------------------

  void removeFormatting(std::size_t index) {
    const Formatting& entry = formatting_[index];
    if (!entry.marker) {
      const auto id = static_cast<std::size_t>(entry.id);
      if (!onStack_[id]) --pendingFormatting_;
      inList_[id] = 0;
    }
    formatting_.erase(formatting_.begin() + static_cast<std::ptrdiff_t>(index));
  }

  void clearToMarker() {
    while (!formatting_.empty()) {
      const bool marker = formatting_.back().marker;
      removeFormatting(formatting_.size() - 1);
      if (marker) break;
    }
  }

  std::size_t formattingIndexOf(int id) const {
    for (std::size_t i = formatting_.size(); i-- > 0;) {
      if (!formatting_[i].marker && formatting_[i].id == id) return i;
    }
    return kNone;
  }

  // The last entry named `name` after the last marker; kMarkerFirst when a marker comes first.
  static constexpr std::size_t kMarkerFirst = kNone - 1;
  std::size_t lastFormatting(std::string_view name) const {
    for (std::size_t i = formatting_.size(); i-- > 0;) {
      if (formatting_[i].marker) return kMarkerFirst;
      if (formatting_[i].name == name) return i;
    }
    return kNone;
  }

  // Adds the element just opened; a fourth one alike since the last marker drops the earliest.
  void addFormatting(const HtmlToken& token) {
    const std::string_view attributes = Trimmed(token.attributeText);
    std::size_t alike = 0;
    std::size_t earliest = kNone;
    for (std::size_t i = formatting_.size(); i-- > 0;) {
      const Formatting& entry = formatting_[i];
      if (entry.marker) break;
      if (entry.name == token.name && entry.attributes == attributes) {
        ++alike;
        earliest = i;
      }
    }
    if (alike >= 3) removeFormatting(earliest);
    const Open& open = stack_.back();
    inList_[static_cast<std::size_t>(open.id)] = 1;
    formatting_.push_back({false, open.id, open.name, attributes, open.traits});
  }

  // Reopens the formatting elements closed since the last marker, as the parser does before it
  // inserts text or most elements.
  void reconstruct() {
    if (formatting_.empty()) return;
    const auto isOpen = [this](const Formatting& entry) {
      return entry.marker || onStack_[static_cast<std::size_t>(entry.id)];
    };
    if (isOpen(formatting_.back())) return;
    std::size_t first = formatting_.size() - 1;
    while (first > 0 && !isOpen(formatting_[first - 1])) --first;
    for (std::size_t i = first; i < formatting_.size() && !estimate_.overLimit; ++i) {
      Formatting& entry = formatting_[i];
      inList_[static_cast<std::size_t>(entry.id)] = 0;
      --pendingFormatting_;
      Open clone = HtmlElement(entry.name);
      clone.id = newElement();
      entry.id = clone.id;
      inList_[static_cast<std::size_t>(clone.id)] = 1;
      push(std::move(clone));
    }
  }

  // The end tag of a formatting element: the parser's adoption agency, which closes the element
  // and reopens it inside the block that was opened in it.
  void adopt(const std::string& name) {
    if (top() && top()->is(name) && !inList_[static_cast<std::size_t>(top()->id)]) return popTop();
    for (int round = 0; round < 8; ++round) {
      const std::size_t entryIndex = lastFormatting(name);
      // None open since the last marker: the parser ignores the end tag.
      if (entryIndex == kMarkerFirst || entryIndex == kNone) return;
      const int element = formatting_[entryIndex].id;
      if (!onStack_[static_cast<std::size_t>(element)]) return removeFormatting(entryIndex);
      const std::size_t at = indexOfId(element);
      for (std::size_t i = at + 1; i < stack_.size(); ++i) {
        if (stack_[i].traits & kScope) return;  // not in scope: ignored
      }
      std::size_t block = kNone;
      for (std::size_t i = at + 1; i < stack_.size() && block == kNone; ++i) {
        if (stack_[i].traits & kSpecial) block = i;
      }
      if (block == kNone) {
        popFrom(at);
        return removeFormatting(formattingIndexOf(element));
      }
      const int blockId = stack_[block].id;
      std::size_t bookmark = entryIndex;
      bool first = true;
      // Past the third element, the parser forgets formatting elements but leaves them open, in
      // the element being closed: that one, and what lies between, then keep their levels.
      bool keptInside = false;
      std::size_t node = block;
      for (int inner = 1;; ++inner) {
        --node;
        if (stack_[node].id == element) break;
        if (stack_[node].name.empty()) {  // an element already taken off the parser's stack
          if (!keptInside) eraseAt(node);
          --inner;
          continue;
        }
        const std::size_t listed = formattingIndexOf(stack_[node].id);
        if (inner > 3 && listed != kNone) {
          removeFormatting(listed);
          if (listed < bookmark) --bookmark;
          keptInside = true;
          continue;
        }
        if (listed == kNone) {
          if (keptInside) {
            keepLevelOnly(node);
          } else {
            eraseAt(node);
          }
          continue;
        }
        Open& open = stack_[node];
        onStack_[static_cast<std::size_t>(open.id)] = 0;
        inList_[static_cast<std::size_t>(open.id)] = 0;
        open.id = newElement();
        onStack_[static_cast<std::size_t>(open.id)] = 1;
        inList_[static_cast<std::size_t>(open.id)] = 1;
        formatting_[listed].id = open.id;
        if (first) bookmark = listed + 1;
        first = false;
      }
      const Formatting entry = formatting_[formattingIndexOf(element)];
      const std::size_t old = formattingIndexOf(element);
      removeFormatting(old);
      if (old < bookmark) --bookmark;
      if (keptInside) {
        keepLevelOnly(indexOfId(element));
      } else {
        eraseAt(indexOfId(element));
      }
      Open renewed = HtmlElement(name);
      renewed.id = newElement();
      onStack_[static_cast<std::size_t>(renewed.id)] = 1;
      inList_[static_cast<std::size_t>(renewed.id)] = 1;
      formatting_.insert(formatting_.begin() + static_cast<std::ptrdiff_t>(std::min(bookmark, formatting_.size())),
                         {false, renewed.id, entry.name, entry.attributes, entry.traits});
      stack_.insert(stack_.begin() + static_cast<std::ptrdiff_t>(indexOfId(blockId) + 1), std::move(renewed));
      if (estimate_.overLimit) return;
    }
  }

  // --- tokens ------------------------------------------------------------------------------------

  void text(bool blank) {
    if (frameset_ || !htmlRulesForText()) return;
    if (!blank) framesetOk_ = false;
    if (!blank) leaveColumnGroup();
    const std::string& in = context();
    if (in == "select") return;
    if (blank && (in == "table" || in == "tbody" || in == "thead" || in == "tfoot" || in == "tr" || in == "colgroup")) {
      return;
    }
    reconstruct();
  }

  bool htmlRulesForText() const {
    const Open* current = top();
    return !current || current->space == Space::Html || current->htmlIntegration || current->textIntegration;
  }

  bool htmlRulesForStartTag(const std::string& name) const {
    const Open* current = top();
    if (!current || current->space == Space::Html || current->htmlIntegration) return true;
    if (current->textIntegration && name != "mglyph" && name != "malignmark") return true;
    return current->space == Space::MathMl && current->name == "annotation-xml" && name == "svg";
  }

  void startTag(const HtmlToken& token) {
    if (frameset_) return framesetStartTag(token);
    if (htmlRulesForStartTag(token.name)) return htmlStartTag(token);
    const bool breaksOut = (TraitsOf(token.name) & kBreaksOut) ||
                           (token.name == "font" && (FindAttribute(token, "color") || FindAttribute(token, "face") ||
                                                     FindAttribute(token, "size")));
    if (breaksOut) {
      while (foreignCurrent() && !stack_.back().htmlIntegration && !stack_.back().textIntegration) popTop();
      return htmlStartTag(token);
    }
    pushForeign(token, stack_.back().space);
  }

  void pushForeign(const HtmlToken& token, Space space) {
    Open open;
    open.name = token.name;
    open.space = space;
    if (space == Space::Svg) {
      open.htmlIntegration = token.name == "foreignobject" || token.name == "desc" || token.name == "title";
    } else {
      open.textIntegration = token.name == "mi" || token.name == "mo" || token.name == "mn" || token.name == "ms" ||
                             token.name == "mtext";
      if (token.name == "annotation-xml") {
        const HtmlAttribute* encoding = FindAttribute(token, "encoding");
        const std::string value = encoding ? DecodedLowerValue(encoding->value) : std::string();
        open.htmlIntegration = value == "text/html" || value == "application/xhtml+xml";
      }
    }
    // An SVG title bounds a scope, but an end tag looking for its element goes past it.
    if (open.htmlIntegration || open.textIntegration || (space == Space::MathMl && token.name == "annotation-xml"))
      open.traits = space == Space::Svg && token.name == "title" ? kScope : kSpecial | kScope;
    push(std::move(open));
    if (token.selfClosing) popTop();
  }

  void framesetStartTag(const HtmlToken& token) {
    if (token.name == "frameset") {
      pushHtml(token.name);
    } else if (token.name == "frame") {
      pushAndPop(token.name);
    } else if (token.name == "noframes") {
      pushAndPop(token.name);
      scanner_.skipTextOf(token.name);
    }
  }

  void htmlStartTag(const HtmlToken& token) {
    const std::string& name = token.name;
    const unsigned traits = TraitsOf(name);
    if (name == "frameset" && framesetOk_ && stack_.empty()) {
      frameset_ = true;  // the frameset replaces the body; from here on only framesets count
      return pushHtml(name);
    }
    if (!(traits & kKeepsFrameset)) framesetOk_ = false;
    decideTemplate(name);
    if (name == "html" || name == "head" || name == "body") return;
    if (name != "col" && name != "template") leaveColumnGroup();
    const std::string in = context();
    if (in == "select") return selectStartTag(token);
    if (name == "form") return formStartTag(in);
    if (name == "caption" || name == "colgroup" || name == "col" || name == "tbody" || name == "thead" ||
        name == "tfoot" || name == "tr" || name == "td" || name == "th" || name == "table") {
      return tableStartTag(token, in);
    }
    if (name == "li" || name == "dd" || name == "dt") closeListItem(name);
    if (traits & kClosesP) closeParagraph();
    if ((traits & kHeading) && top() && top()->space == Space::Html && (top()->traits & kHeading)) popTop();
    if (name == "button") {
      const std::size_t button = inScope("button", kScope);
      if (button != kNone) popFrom(button);
    }
    if ((name == "option" || name == "optgroup") && top() && top()->is("option")) popTop();
    if ((name == "rp" || name == "rt") && inScope("ruby", kScope) != kNone) {
      while (top() && top()->space == Space::Html && (top()->traits & kImpliedEnd)) popTop();
    }
    if (name == "a") {
      const std::size_t open = lastFormatting("a");
      if (open < kMarkerFirst) {
        const int element = formatting_[open].id;
        adopt(name);
        const std::size_t listed = formattingIndexOf(element);
        if (listed != kNone) removeFormatting(listed);
        const std::size_t stillOpen = indexOfId(element);
        if (stillOpen != kNone) keepLevelOnly(stillOpen);
      }
    }
    if (!(traits & kNoReconstruct)) reconstruct();
    if (name == "nobr" && inScope("nobr", kScope) != kNone) {
      adopt(name);
      reconstruct();
    }
    if (traits & kRawText) {
      pushAndPop(name);
      return scanner_.skipTextOf(name);
    }
    if (name == "plaintext") {
      pushHtml(name);
      return scanner_.skipRest();
    }
    if (traits & kVoid) return pushAndPop(name);
    if (name == "isindex") {  // a form holding a label holding an input, and two rules
      pushHtml("form");
      pushHtml("label");
      pushAndPop("input");
      popTop();
      popTop();
      newElement();
      newElement();
      return;
    }
    if (name == "svg" || name == "math") return pushForeign(token, name == "svg" ? Space::Svg : Space::MathMl);
    pushHtml(name);
    if (traits & kFormatting) addFormatting(token);
  }

  // A new list item (or definition) closes the open one, unless a block other than address, div
  // or p stands between them.
  void closeListItem(const std::string& name) {
    const bool definition = name != "li";
    for (std::size_t i = stack_.size(); i-- > 0;) {
      const Open& open = stack_[i];
      if (definition ? (open.is("dd") || open.is("dt")) : open.is("li")) {
        popFrom(i);
        break;
      }
      if ((open.traits & kSpecial) && !open.is("address") && !open.is("div") && !open.is("p")) break;
    }
  }

  void tableStartTag(const HtmlToken& token, const std::string& in) {
    const std::string& name = token.name;
    const bool inRow = in == "tr";
    const bool inSection = in == "tbody" || in == "thead" || in == "tfoot";
    const bool inTable = in == "table" || in == "caption" || in == "colgroup";
    if (name == "table") {
      if (inTable || inSection || inRow) {
        if (in == "caption") return pushHtml(name);
        const std::size_t table = inScope("table", kTableScope);
        if (table == kNone) return;
        popFrom(table, true);
        return htmlStartTag(token);  // a table in a table's rows ends it and starts another
      }
      return pushHtml(name);
    }
    // Each open part the tag cannot go in is closed first, as its own end tag would close it.
    while (true) {
      const std::string at = context();
      if (at == "td" || at == "th" || at == "caption") {
        const std::size_t part = inScope(at, kTableScope);
        if (part == kNone) return;
        popFrom(part, true);
      } else if (at == "tr") {
        if (name == "td" || name == "th") {
          clearBackTo({"tr", "template", "table"});
          return pushHtml(name);
        }
        const std::size_t row = inScope("tr", kTableScope);
        if (row == kNone) return;
        popFrom(row);
      } else if (at == "tbody" || at == "thead" || at == "tfoot") {
        if (name == "tr" || name == "td" || name == "th") {
          clearBackTo({"tbody", "thead", "tfoot", "template", "table"});
          pushHtml("tr");
          if (name == "tr") return;
          continue;
        }
        std::size_t section = kNone;
        for (std::size_t i = stack_.size(); i-- > 0 && section == kNone;) {
          if (stack_[i].is("tbody") || stack_[i].is("thead") || stack_[i].is("tfoot")) section = i;
          if (stack_[i].traits & kTableScope) break;
        }
        if (section == kNone) return;
        popFrom(section);
      } else if (at == "colgroup") {
        if (!top() || !top()->is("colgroup")) return name == "col" ? pushAndPop(name) : void();
        if (name == "col") return pushAndPop(name);
        popTop();
      } else if (at == "table") {
        clearBackTo({"table", "template"});
        if (name == "col") {
          pushHtml("colgroup");
        } else if (name == "td" || name == "th" || name == "tr") {
          pushHtml("tbody");
        } else {
          return pushHtml(name);
        }
      } else {
        return;  // outside any table: ignored
      }
    }
  }

  // A form opens only when no other is (a template aside); inside a table's rows it is closed at once.
  void formStartTag(const std::string& in) {
    if (formPointer_ && openTemplates_ == 0) return;
    closeParagraph();
    pushHtml("form");
    if (openTemplates_ == 0) formPointer_ = stack_.back().id;
    if (in == "table" || in == "tbody" || in == "thead" || in == "tfoot" || in == "tr") popTop();
  }

  void selectStartTag(const HtmlToken& token) {
    const std::string& name = token.name;
    if (name == "option" || name == "optgroup") {
      if (top() && top()->is("option")) popTop();
      if (name == "optgroup" && top() && top()->is("optgroup")) popTop();
      return pushHtml(name);
    }
    const std::size_t select = nearest("select");
    if (name == "select") return popFrom(select);
    if (name == "input" || name == "keygen" || name == "textarea") {
      popFrom(select);
      return htmlStartTag(token);
    }
    if (name == "script") {
      pushAndPop(name);
      return scanner_.skipTextOf(name);
    }
    if (name == "template") return pushHtml(name);
    const bool tablePart = name == "caption" || name == "table" || name == "tbody" || name == "tfoot" ||
                           name == "thead" || name == "tr" || name == "td" || name == "th";
    if (tablePart && selectInTable()) {
      popFrom(select);
      return htmlStartTag(token);
    }
    // Anything else is ignored inside a select.
  }

  void endTag(const std::string& name) {
    if (frameset_) {
      if (name == "frameset" && top() && top()->is("frameset")) popTop();
      return;
    }
    // Inside foreign content an end tag closes the nearest foreign element of its name, unless an
    // HTML element comes first: then the HTML rules read it.
    for (std::size_t i = stack_.size(); i-- > 0;) {
      if (stack_[i].space == Space::Html) break;
      if (stack_[i].name == name) return popFrom(i);
    }
    htmlEndTag(name);
  }

  void htmlEndTag(const std::string& name) {
    if (name != "colgroup" && name != "col" && name != "template") leaveColumnGroup();
    const std::string in = context();
    const unsigned traits = TraitsOf(name);
    const bool tablePart = name == "caption" || name == "table" || name == "tbody" || name == "tfoot" ||
                           name == "thead" || name == "tr" || name == "td" || name == "th";
    if (in == "select") {
      const std::size_t select = nearest("select");
      if (name == "select") {
        for (std::size_t i = stack_.size(); i-- > select + 1;) {
          if (!stack_[i].is("option") && !stack_[i].is("optgroup")) return;
        }
        return popFrom(select);
      }
      if (name == "option") {
        if (top()->is("option")) popTop();
        return;
      }
      if (name == "optgroup") {
        if (top()->is("option") && stack_.size() >= 2 && stack_[stack_.size() - 2].is("optgroup")) popTop();
        if (top()->is("optgroup")) popTop();
        return;
      }
      if (tablePart && selectInTable() && inScope(name, kTableScope) != kNone) {
        popFrom(select);
        return htmlEndTag(name);
      }
      if (name == "template") return templateEnd();
      return;
    }
    if (name == "table") return tableEndTag();
    if (tablePart) {
      const std::size_t at = inScope(name, kTableScope);
      if (at != kNone) popFrom(at, true);
      return;
    }
    if (name == "colgroup") {
      if (top() && top()->is("colgroup")) popTop();
      return;
    }
    if (name == "col" || name == "html" || name == "body" || name == "head") return;
    if (name == "p") {
      const std::size_t p = openParagraphs_ ? inScope("p", kScope | kButtonScope) : kNone;
      if (p != kNone) return popFrom(p);
      return pushAndPop("p");  // "</p>" with no open p makes an empty one
    }
    if (name == "br") {
      reconstruct();
      return pushAndPop("br");
    }
    if (name == "li" || name == "dd" || name == "dt" || (traits & kBlockEnd)) {
      const std::size_t at = inScope(name, name == "li" ? kScope | kListScope : kScope);
      if (at != kNone) popFrom(at);
      return;
    }
    if (traits & kHeading) {
      for (std::size_t i = stack_.size(); i-- > 0;) {
        if (stack_[i].space == Space::Html && (stack_[i].traits & kHeading)) return popFrom(i);
        if (stack_[i].traits & kScope) return;
      }
      return;
    }
    if (name == "form") return formEndTag();
    if (name == "applet" || name == "marquee" || name == "object") {
      const std::size_t at = inScope(name, kTableScope);
      if (at == kNone) return;
      popFrom(at);
      return clearToMarker();
    }
    if (name == "template") return templateEnd();
    if (traits & kFormatting) return adopt(name);
    if (name == "frameset") {
      if (top() && top()->is("frameset")) popTop();
      return;
    }
    anyOtherEnd(name);
  }

  // Closes the form the form pointer names, when it is in scope (a form opened in a template is
  // never named, and stays open).
  void formEndTag() {
    std::size_t form = kNone;
    const int element = formPointer_;
    formPointer_ = 0;
    for (std::size_t i = stack_.size(); i-- > 0 && element;) {
      if (stack_[i].id == element) {
        form = i;
        break;
      }
      if (stack_[i].traits & kScope) break;
    }
    if (form == kNone) return;
    while (stack_.size() > form + 1 && top()->space == Space::Html && (top()->traits & kImpliedEnd)) popTop();
    if (stack_.size() == form + 1) return popTop();
    keepLevelOnly(form);
  }

  // "</table>" closes the table; where none is in scope (in a template) it still closes the
  // rows and sections open in it, as their own end tags would.
  void tableEndTag() {
    while (true) {
      const std::string in = context();
      const std::size_t table = inScope("table", kTableScope);
      if (in == "tr" || in == "caption" || (table == kNone && (in == "tbody" || in == "thead" || in == "tfoot"))) {
        std::size_t part = kNone;
        for (std::size_t i = stack_.size(); i-- > 0 && part == kNone;) {
          const Open& open = stack_[i];
          if (open.is("tr") || open.is("caption") || open.is("tbody") || open.is("thead") || open.is("tfoot")) part = i;
          if (open.traits & kTableScope) break;
        }
        if (part == kNone) return;
        popFrom(part, true);
        continue;
      }
      if (table != kNone) popFrom(table, true);
      return;
    }
  }

  void templateEnd() {
    const std::size_t at = nearest("template");
    if (at == kNone) return;
    popFrom(at);
    clearToMarker();
    // The parser then reads its stack anew: a select ends at table tags only if a table holds it
    // (nearer than a template).
    if (contexts_.empty() || contexts_.back().name != "select") return;
    contexts_.back().inTable = false;
    for (std::size_t i = contexts_.size() - 1; i-- > 0;) {
      if (contexts_[i].name == "table" || contexts_[i].name == "template") {
        contexts_.back().inTable = contexts_[i].name == "table";
        break;
      }
    }
  }

  // Closes the nearest open HTML element of the name (of any unknown name, for an unknown name),
  // unless a special element comes first.
  void anyOtherEnd(const std::string& name) {
    const bool unknown = !(TraitsOf(name) & kKnown);
    for (std::size_t i = stack_.size(); i-- > 0;) {
      const Open& open = stack_[i];
      if (open.is(name) || (unknown && open.space == Space::Html && !(open.traits & kKnown))) return popFrom(i);
      if (stack_[i].traits & kSpecial) return;
    }
  }

  HtmlTagScanner scanner_;
  NestingLimits limits_;
  NestingEstimate estimate_;
  std::vector<Open> stack_;              // bottom to top, below the html and body elements
  std::vector<Context> contexts_;        // the open context elements, bottom to top
  std::vector<Formatting> formatting_;   // the list of active formatting elements
  std::vector<unsigned char> onStack_;   // by element number: on the stack of open elements
  std::vector<unsigned char> inList_;    // by element number: in the list of formatting elements
  int pendingFormatting_ = 0;            // listed elements not open: the next text reopens them
  int openParagraphs_ = 0;
  int openTemplates_ = 0;
  std::size_t commentsCounted_ = 0;
  int formPointer_ = 0;  // the element number of the form fields go to, 0 for none
  bool framesetOk_ = true;  // nothing seen yet stops a frameset from replacing the body
  bool frameset_ = false;   // the page is a frameset
};

}  // namespace

bool IsVoidElement(std::string_view name) {
  static constexpr std::array<std::string_view, 16> kVoidTags = {
      "area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "param", "source", "track", "wbr",
      "keygen", "frame"};
  return std::find(kVoidTags.begin(), kVoidTags.end(), name) != kVoidTags.end();
}

NestingEstimate EstimateNesting(const QByteArray& html, const NestingLimits& limits) {
  return TreeShape(html, limits).run();
}

bool TagsNestDeeperThan(const QByteArray& html, int limit) {
  const NestingLimits limits{limit, std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::size_t>::max() - 1,
                             std::numeric_limits<std::int64_t>::max()};
  return EstimateNesting(html, limits).depth > limit;
}

}  // namespace platform::browser
