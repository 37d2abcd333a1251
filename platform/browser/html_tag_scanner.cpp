#include "platform/browser/html_tag_scanner.h"

namespace platform::browser {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const HtmlToken& HtmlTagScanner::next(bool foreignContent) {
  while (true) {
    const std::size_t open = position_ < html_.size() ? html_.find('<', position_) : std::string_view::npos;
    const std::size_t markup = open == std::string_view::npos ? html_.size() : open;
    // A "<" that opens nothing is text; anything else ends the text before it.
    const bool opensMarkup =
        open != std::string_view::npos && open + 1 < html_.size() &&
        (IsLetter(html_[open + 1]) || html_[open + 1] == '!' || html_[open + 1] == '?' || html_[open + 1] == '/');
    if (open != std::string_view::npos && !opensMarkup) {
      position_ = open + 1;
      continue;
    }
    if (markup > textStart_) {
      token_.kind = HtmlToken::Text;
      token_.textIsBlank = true;
      for (std::size_t i = textStart_; i < markup && token_.textIsBlank; ++i) token_.textIsBlank = IsSpace(html_[i]);
      textStart_ = position_ = markup;
      return token_;
    }
    if (open == std::string_view::npos) {
      position_ = textStart_ = html_.size();
      token_.kind = HtmlToken::EndOfPage;
      return token_;
    }
    position_ = open + 1;
    if (at('!') || at('?') || (at('/') && (position_ + 1 >= html_.size() || !IsLetter(html_[position_ + 1]))))
      ++comments_;
    if (startsWith("!--")) {
      position_ += 3;
      skipComment();
    } else if (foreignContent && startsWith("![CDATA[")) {
      position_ += 8;
      skipPast(std::string_view("]]>"));
    } else if (at('!') || at('?')) {
      skipPast('>');
    } else if (at('/')) {
      ++position_;
      if (position_ < html_.size() && IsLetter(html_[position_])) {
        token_.kind = HtmlToken::EndTag;
        readTagName();
        readAttributes();
        textStart_ = position_;
        return token_;
      }
      skipPast('>');  // "</>" is dropped, anything else is a bogus comment
    } else {
      token_.kind = HtmlToken::StartTag;
      readTagName();
      readAttributes();
      textStart_ = position_;
      return token_;
    }
    textStart_ = position_;
  }
}

void HtmlTagScanner::skipTextOf(const std::string& name) {
  if (name == "script") {
    skipScript();
  } else {
    skipRawText(name);
  }
  textStart_ = position_;
}

void HtmlTagScanner::skipPast(char c) {
  const std::size_t found = html_.find(c, position_);
  position_ = found == std::string_view::npos ? html_.size() : found + 1;
}

void HtmlTagScanner::skipPast(std::string_view text) {
  const std::size_t found = html_.find(text, position_);
  position_ = found == std::string_view::npos ? html_.size() : found + text.size();
}

// After "<!--": up to "-->" or "--!>", or an abrupt ">" or "->" right at the start.
void HtmlTagScanner::skipComment() {
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
void HtmlTagScanner::readTagName() {
  token_.name.clear();
  while (position_ < html_.size() && !IsSpace(html_[position_]) && html_[position_] != '/' &&
         html_[position_] != '>') {
    token_.name += Lower(html_[position_]);
    ++position_;
  }
}

// The rest of a tag, past its ">": attribute names, and values, quoted only when the quote is
// the first thing after "=" (blanks aside); "/" right before the ">" (outside a value that is
// not quoted) closes the tag itself.
void HtmlTagScanner::readAttributes() {
  token_.attributes.clear();
  token_.attributeCount = 0;
  token_.selfClosing = false;
  const std::size_t start = position_;
  enum { BeforeName, Name, AfterName, BeforeValue, Unquoted, SelfClosing } state = BeforeName;
  std::size_t nameStart = 0;
  std::size_t valueStart = 0;
  const auto addName = [&](std::size_t end) {
    ++token_.attributeCount;
    if (token_.attributes.size() < keptAttributes_) token_.attributes.push_back({html_.substr(nameStart, end - nameStart), {}});
  };
  const auto setValue = [&](std::size_t end) {
    if (token_.attributes.size() == token_.attributeCount && !token_.attributes.empty())
      token_.attributes.back().value = html_.substr(valueStart, end - valueStart);
  };
  while (position_ < html_.size()) {
    const std::size_t here = position_;
    const char c = html_[position_++];
    if (c == '>' && state != SelfClosing) {
      if (state == Name) addName(here);
      if (state == Unquoted) setValue(here);
      break;
    }
    const bool space = IsSpace(c);
    switch (state) {
      case SelfClosing:
        if (c == '>') {
          token_.selfClosing = true;
          token_.attributeText = html_.substr(start, here - start);
          return;
        }
        --position_;  // reconsumed before a name
        state = BeforeName;
        break;
      case BeforeName:
        if (c == '/') {
          state = SelfClosing;
        } else if (!space) {
          state = Name;
          nameStart = here;
        }
        break;
      case Name:
        if (space || c == '/' || c == '=') addName(here);
        if (space) state = AfterName;
        if (c == '/') state = SelfClosing;
        if (c == '=') state = BeforeValue;
        break;
      case AfterName:
        if (c == '/') {
          state = SelfClosing;
        } else if (c == '=') {
          state = BeforeValue;
        } else if (!space) {
          state = Name;
          nameStart = here;
        }
        break;
      case BeforeValue:
        if (c == '"' || c == '\'') {
          valueStart = position_;
          const std::size_t quote = html_.find(c, position_);
          position_ = quote == std::string_view::npos ? html_.size() : quote + 1;
          setValue(quote == std::string_view::npos ? html_.size() : quote);
          state = BeforeName;  // what follows a quoted value starts a new name, blank or not
        } else if (!space) {
          state = Unquoted;
          valueStart = here;
        }
        break;
      case Unquoted:
        if (space) {
          setValue(here);
          state = BeforeName;
        }
        break;
    }
  }
  token_.attributeText = html_.substr(start, position_ - start);
}

// At "</" + name: true, past the tag, when it is the end tag of `name` (ASCII letters matched
// without regard to case, then a blank, "/" or ">"); otherwise the position is unchanged.
bool HtmlTagScanner::atEndTagOf(std::string_view name) {
  std::size_t p = position_ + 2;
  for (const char wanted : name) {
    if (p >= html_.size() || Lower(html_[p]) != wanted) return false;
    ++p;
  }
  if (p < html_.size() && !IsSpace(html_[p]) && html_[p] != '/' && html_[p] != '>') return false;
  position_ = p;
  readAttributes();
  return true;
}

void HtmlTagScanner::skipRawText(std::string_view name) {
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
void HtmlTagScanner::skipScript() {
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
bool HtmlTagScanner::followedByScriptName(std::size_t offset) const {
  constexpr std::string_view kScript = "script";
  const std::size_t p = position_ + offset;
  if (p + kScript.size() >= html_.size()) return false;
  for (std::size_t i = 0; i < kScript.size(); ++i) {
    if (Lower(html_[p + i]) != kScript[i]) return false;
  }
  const char next = html_[p + kScript.size()];
  return IsSpace(next) || next == '/' || next == '>';
}

}  // namespace platform::browser
