#include "platform/browser/html_nesting.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::browser {
namespace {

// Elements that never hold children.
constexpr std::array<std::string_view, 16> kVoidTags = {"area", "base", "br",    "col",   "embed",  "hr",
                                                        "img",  "input", "link", "meta",  "param", "source",
                                                        "track", "wbr", "keygen", "frame"};
// Elements whose start tag closes an open one of the same kind: a run of them does not nest.
constexpr std::array<std::string_view, 17> kSiblingTags = {"p",  "li", "dt", "dd", "option", "optgroup",
                                                           "tr", "td", "th", "rb", "rt",     "rp",
                                                           "rtc", "tbody", "thead", "tfoot", "colgroup"};
// Elements whose content is text up to their own end tag (in HTML content; inside svg and math
// the same names are ordinary elements).
constexpr std::array<std::string_view, 7> kRawTextTags = {"style",   "textarea", "title",   "xmp",
                                                          "iframe",  "noembed",  "noframes"};
// Elements that open foreign content, where the raw-text rules no longer hold.
constexpr std::array<std::string_view, 2> kForeignTags = {"svg", "math"};

// Elements at which the parser stops looking for the element an end tag closes: an end tag whose
// element lies below one of these is ignored (or handled by rules that never leave the page
// shallower than ignoring it would). Void, sibling and raw-text elements are never counted, so
// only the counted ones are listed.
constexpr std::array<std::string_view, 48> kBlockingTags = {
    "address", "applet", "article", "aside", "basefont", "bgsound", "blockquote", "body", "button", "caption",
    "center", "details", "dialog", "dir", "div", "dl", "fieldset", "figcaption", "figure", "footer", "form",
    "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head", "header", "hgroup", "html", "listing", "main",
    "marquee", "menu", "nav", "noscript", "object", "ol", "pre", "search", "section", "select", "summary",
    "table", "template", "ul"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The counted elements still open, as the parser's stack of open elements would hold them. An end
// tag closes the topmost element of its name, with every element above it, unless a blocking
// element stands above that one: then the parser ignores it too. An end tag that matches nothing
// open changes nothing, so a page of unmatched end tags cannot hide how deep its start tags go.
// Each element is pushed and popped once: the whole scan stays linear.
class OpenElements {
 public:
  std::size_t depth() const { return names_.size(); }

  void open(const std::string& name) {
    if (OneOf(kBlockingTags, name)) blocking_.push_back(names_.size());
    positions_[name].push_back(names_.size());
    names_.push_back(name);
  }

  void close(const std::string& name) {
    const auto found = positions_.find(name);
    if (found == positions_.end() || found->second.empty()) return;
    const std::size_t at = found->second.back();
    if (!blocking_.empty() && blocking_.back() > at) return;
    while (names_.size() > at) pop();
  }

 private:
  void pop() {
    const std::size_t top = names_.size() - 1;
    positions_[names_.back()].pop_back();
    if (!blocking_.empty() && blocking_.back() == top) blocking_.pop_back();
    names_.pop_back();
  }

  std::vector<std::string> names_;                                        // bottom to top
  std::vector<std::size_t> blocking_;                                     // positions of blocking elements
  std::unordered_map<std::string, std::vector<std::size_t>> positions_;  // each name's positions
};

// Reads the page as the HTML tokenizer does, as far as telling tags from text goes: tag names up
// to blank, "/" or ">", attribute values quoted only right after "=", comments ending at "-->",
// "--!>" or an early ">", bogus comments and declarations at ">", and the text of raw-text
// elements and scripts (with their escaped sections) up to their proper end tag.
class TagScanner {
 public:
  explicit TagScanner(std::string_view html) : html_(html) {}

  bool nestsDeeperThan(int limit) {
    OpenElements elements;
    bool foreign = false;  // svg or math seen: end tags no longer lower the count
    while (position_ < html_.size()) {
      const std::size_t open = html_.find('<', position_);
      if (open == std::string_view::npos) break;
      position_ = open + 1;
      if (startsWith("!--")) {
        position_ += 3;
        skipComment();
      } else if (at('!') || at('?')) {
        skipPast('>');
      } else if (at('/')) {
        ++position_;
        if (position_ < html_.size() && IsLetter(html_[position_])) {
          const std::string name = readTagName();
          skipAttributes();
          if (!foreign) elements.close(name);
        } else {
          skipPast('>');  // "</>" is dropped, anything else is a bogus comment
        }
      } else if (position_ < html_.size() && IsLetter(html_[position_])) {
        const std::string name = readTagName();
        skipAttributes();
        if (name == "plaintext") break;  // the rest of the page is text
        if (OneOf(kForeignTags, name)) foreign = true;
        if (!foreign && name == "script") {
          skipScript();
          continue;
        }
        if (!foreign && OneOf(kRawTextTags, name)) {
          skipRawText(name);
          continue;
        }
        if (IsVoidElement(name) || OneOf(kSiblingTags, name)) continue;
        elements.open(name);
        if (elements.depth() > static_cast<std::size_t>(std::max(limit, 0))) return true;
      }
    }
    return false;
  }

 private:
  bool at(char c) const { return position_ < html_.size() && html_[position_] == c; }
  bool startsWith(std::string_view text) const { return html_.substr(position_, text.size()) == text; }

  void skipPast(char c) {
    const std::size_t found = html_.find(c, position_);
    position_ = found == std::string_view::npos ? html_.size() : found + 1;
  }

  // After "<!--": up to "-->" or "--!>", or an abrupt ">" or "->" right at the start.
  void skipComment() {
    if (startsWith(">")) return skipPast('>');
    if (startsWith("->")) return skipPast('>');
    while (position_ < html_.size()) {
      const std::size_t dashes = html_.find("--", position_);
      if (dashes == std::string_view::npos) break;
      position_ = dashes + 2;
      while (at('-')) ++position_;
      if (at('>')) return skipPast('>');
      if (startsWith("!>")) return skipPast('>');
    }
    position_ = html_.size();
  }

  // The whole tag name in lower case, up to a blank, "/" or ">": an end tag closes only the
  // element of exactly its name.
  std::string readTagName() {
    std::string name;
    while (position_ < html_.size() && !IsSpace(html_[position_]) && html_[position_] != '/' &&
           html_[position_] != '>') {
      name += Lower(html_[position_]);
      ++position_;
    }
    return name;
  }

  // The rest of a tag, past its ">": attribute names, and values, quoted only when the quote
  // is the first thing after "=" (blanks aside).
  void skipAttributes() {
    enum { BeforeName, Name, AfterName, BeforeValue, Unquoted } state = BeforeName;
    while (position_ < html_.size()) {
      const char c = html_[position_++];
      if (c == '>') return;
      const bool space = IsSpace(c);
      switch (state) {
        case BeforeName:
          if (!space && c != '/') state = Name;
          break;
        case Name:
        case AfterName:
          if (space) {
            state = AfterName;
          } else if (c == '/') {
            state = BeforeName;
          } else if (c == '=') {
            state = BeforeValue;
          } else {
            state = Name;
          }
          break;
        case BeforeValue:
          if (c == '"' || c == '\'') {
            skipPast(c);
            state = BeforeName;  // what follows a quoted value starts a new name, blank or not
          } else if (!space) {
            state = Unquoted;
          }
          break;
        case Unquoted:
          if (space) state = BeforeName;
          break;
      }
    }
  }

  // At "</" + name: true, past the tag, when it is the end tag of `name` (ASCII letters matched
  // without regard to case, then a blank, "/" or ">"); otherwise the position is unchanged.
  bool atEndTagOf(std::string_view name) {
    std::size_t p = position_ + 2;
    for (const char wanted : name) {
      if (p >= html_.size() || Lower(html_[p]) != wanted) return false;
      ++p;
    }
    if (p < html_.size() && !IsSpace(html_[p]) && html_[p] != '/' && html_[p] != '>') return false;
    position_ = p;
    skipAttributes();
    return true;
  }

  void skipRawText(std::string_view name) {
    while (position_ < html_.size()) {
      const std::size_t close = html_.find("</", position_);
      if (close == std::string_view::npos) break;
      position_ = close;
      if (atEndTagOf(name)) return;
      position_ = close + 2;
    }
    position_ = html_.size();
  }

  // Script text: it ends at "</script"; after "<!--" it is escaped, where "<script" starts a
  // doubly escaped part in which "</script" only returns to the escaped part; "-->" ends either.
  void skipScript() {
    enum { Plain, Escaped, DoublyEscaped } state = Plain;
    while (position_ < html_.size()) {
      const char c = html_[position_];
      if (state != Plain && startsWith("-->")) {
        state = Plain;
        position_ += 3;
      } else if (c == '<' && state == Plain && startsWith("<!--")) {
        state = Escaped;
        position_ += 2;  // "<!-->" ends the escaped part at once
      } else if (c == '<' && state != DoublyEscaped && startsWith("</") && atEndTagOf("script")) {
        return;
      } else if (c == '<' && state == Escaped && followedByScriptName(1)) {
        state = DoublyEscaped;
        position_ += 7;
      } else if (c == '<' && state == DoublyEscaped && startsWith("</") && followedByScriptName(2)) {
        state = Escaped;
        position_ += 8;
      } else {
        ++position_;
      }
    }
  }

  // "script" (any case) at offset from the position, then a blank, "/" or ">".
  bool followedByScriptName(std::size_t offset) const {
    constexpr std::string_view kScript = "script";
    const std::size_t p = position_ + offset;
    if (p + kScript.size() >= html_.size()) return false;
    for (std::size_t i = 0; i < kScript.size(); ++i) {
      if (Lower(html_[p + i]) != kScript[i]) return false;
    }
    const char next = html_[p + kScript.size()];
    return IsSpace(next) || next == '/' || next == '>';
  }

  std::string_view html_;
  std::size_t position_ = 0;
};

}  // namespace

bool IsVoidElement(std::string_view name) { return OneOf(kVoidTags, name); }

bool TagsNestDeeperThan(const QByteArray& html, int limit) {
  return TagScanner(std::string_view(html.constData(), static_cast<std::size_t>(html.size()))).nestsDeeperThan(limit);
}

}  // namespace platform::browser
