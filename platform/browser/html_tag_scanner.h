#pragma once
// Reads a page's markup into tags and text the way the HTML tokenizer tells them apart, without
// building anything: tag names (in lower case), attributes as stretches of the page, whether a
// start tag closes itself ("<path/>"), and whether there was text between two tags. Comments,
// declarations and processing instructions are skipped, and CDATA sections too where the
// caller says the parser is inside SVG or MathML (elsewhere they are bogus comments).
//
// Which elements hold raw text (script, style, textarea...) depends on where the parser stands,
// so the caller decides: after a start tag it asks to skip the element's text up to its proper
// end tag, or to take the rest of the page as text. Each byte is read once or twice: the whole
// scan stays linear in the page's size.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::browser {

struct HtmlAttribute {
  std::string_view name;   // as written (compare without regard to case)
  std::string_view value;  // as written, without its quotes; character references not decoded
};

struct HtmlToken {
  enum Kind { StartTag, EndTag, Text, EndOfPage };
  Kind kind = EndOfPage;
  std::string name;  // the tag name in lower case
  bool selfClosing = false;
  // The attributes, in the order written: at most the scanner's limit are kept, but all counted.
  std::vector<HtmlAttribute> attributes;
  std::size_t attributeCount = 0;
  std::string_view attributeText;  // everything between the name and the ">"
  bool textIsBlank = true;         // for Text: only blanks
};

class HtmlTagScanner {
 public:
  // Attributes past `keptAttributes` in one tag are counted, not kept.
  HtmlTagScanner(std::string_view html, std::size_t keptAttributes) : html_(html), keptAttributes_(keptAttributes) {}

  // The next token. `foreignContent`: the parser's current node is an SVG or MathML element, so
  // "<![CDATA[" opens a CDATA section.
  const HtmlToken& next(bool foreignContent);

  // After a start tag: skip the element's text up to its end tag (raw text, RCDATA, or script
  // data for "script"), or take the rest of the page as text (plaintext).
  void skipTextOf(const std::string& name);
  void skipRest() { position_ = html_.size(); }

  // The comments read so far (bogus ones and declarations included): each is a node of the tree.
  std::size_t comments() const { return comments_; }

 private:
  bool at(char c) const { return position_ < html_.size() && html_[position_] == c; }
  bool startsWith(std::string_view text) const { return html_.substr(position_, text.size()) == text; }
  void skipPast(char c);
  void skipPast(std::string_view text);
  void skipComment();
  void readTagName();
  void readAttributes();
  bool atEndTagOf(std::string_view name);
  void skipRawText(std::string_view name);
  void skipScript();
  bool followedByScriptName(std::size_t offset) const;

  std::string_view html_;
  std::size_t keptAttributes_;
  std::size_t position_ = 0;
  std::size_t textStart_ = 0;  // where text not yet reported begins
  std::size_t comments_ = 0;
  HtmlToken token_;
};

}  // namespace platform::browser
