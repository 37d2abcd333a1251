#include "platform/browser/html_element_traits.h"

#include <initializer_list>
#include <unordered_map>

namespace platform::browser {
namespace {


const std::unordered_map<std::string_view, unsigned>& HtmlTraits() {
  static const std::unordered_map<std::string_view, unsigned> traits = [] {
    std::unordered_map<std::string_view, unsigned> map;
    const auto add = [&map](std::initializer_list<std::string_view> names, unsigned trait) {
      for (const std::string_view name : names) map[name] |= trait;
    };
    add({"address", "applet", "area", "article", "aside", "base", "basefont", "bgsound", "blockquote", "body", "br",
         "button", "caption", "center", "col", "colgroup", "dd", "details", "dir", "div", "dl", "dt", "embed",
         "fieldset", "figcaption", "figure", "footer", "form", "frame", "frameset", "h1", "h2", "h3", "h4", "h5",
         "h6", "head", "header", "hgroup", "hr", "html", "iframe", "img", "image", "input", "isindex", "keygen",
         "li", "link", "listing", "main", "marquee", "menu", "menuitem", "meta", "nav", "noembed", "noframes",
         "noscript", "object", "ol", "p", "param", "plaintext", "pre", "script", "section", "select", "source",
         "style", "summary", "table", "tbody", "td", "template", "textarea", "tfoot", "th", "thead", "title", "tr",
         "track", "ul", "wbr", "xmp"},
        kSpecial);
    add({"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template"}, kScope);
    add({"ol", "ul"}, kListScope);
    add({"button"}, kButtonScope);
    add({"html", "table", "template"}, kTableScope);
    add({"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong", "tt", "u"},
        kFormatting);
    add({"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "image", "img", "input",
         "keygen", "link", "meta", "param", "source", "track", "wbr"},
        kVoid);
    add({"dd", "dt", "li", "option", "optgroup", "p", "rp", "rt"}, kImpliedEnd);
    add({"address", "article", "aside", "blockquote", "button", "center", "details", "dir", "div", "dl",
         "fieldset", "figcaption", "figure", "footer", "header", "hgroup", "listing", "main", "menu", "nav", "ol",
         "pre", "section", "summary", "ul"},
        kBlockEnd);
    add({"address", "article", "aside", "blockquote", "center", "details", "dir", "div", "dl", "fieldset",
         "figcaption", "figure", "footer", "header", "hgroup", "main", "menu", "nav", "ol", "p", "section",
         "summary", "ul", "h1", "h2", "h3", "h4", "h5", "h6", "pre", "listing", "form", "plaintext", "li", "dd",
         "dt", "hr", "xmp"},
        kClosesP);
    add({"applet", "marquee", "object", "td", "th", "caption", "template"}, kMarker);
    add({"b", "big", "blockquote", "body", "br", "center", "code", "dd", "div", "dl", "dt", "em", "embed", "h1",
         "h2", "h3", "h4", "h5", "h6", "head", "hr", "i", "img", "li", "listing", "menu", "meta", "nobr", "ol", "p",
         "pre", "ruby", "s", "small", "span", "strong", "strike", "sub", "sup", "table", "tt", "u", "ul", "var"},
        kBreaksOut);
    add({"html", "head", "base", "basefont", "bgsound", "link", "meta", "title", "style", "script",
         "noscript", "noframes", "frameset", "frame"},
        kKeepsFrameset);
    add({"address", "article", "aside", "blockquote", "center", "details", "dir", "div", "dl", "fieldset",
         "figcaption", "figure", "footer", "header", "hgroup", "main", "menu", "nav", "ol", "p", "section",
         "summary", "ul", "h1", "h2", "h3", "h4", "h5", "h6", "pre", "listing", "form", "plaintext", "li", "dd",
         "dt", "hr", "table", "caption", "colgroup", "col", "tbody", "thead", "tfoot", "tr", "td", "th", "param",
         "source", "track", "base", "basefont", "bgsound", "link", "meta", "title", "style", "script", "noscript",
         "noframes", "template", "textarea", "iframe", "noembed", "frameset", "frame", "rp", "rt"},
        kNoReconstruct);
    add({"td", "th", "tr", "tbody", "thead", "tfoot", "caption", "colgroup", "table", "template", "select"},
        kContext);
    add({"script", "style", "xmp", "iframe", "noembed", "noframes", "title", "textarea"}, kRawText);
    add({"h1", "h2", "h3", "h4", "h5", "h6"}, kHeading);
    add({"html", "head", "title", "base", "link", "meta", "style", "script", "noscript", "template", "body",
         "article", "section", "nav", "aside", "h1", "h2", "h3", "h4", "h5", "h6", "hgroup", "header", "footer",
         "address", "p", "hr", "pre", "blockquote", "ol", "ul", "li", "dl", "dt", "dd", "figure", "figcaption",
         "main", "div", "a", "em", "strong", "small", "s", "cite", "q", "dfn", "abbr", "data", "time", "code", "var",
         "samp", "kbd", "sub", "sup", "i", "b", "u", "mark", "ruby", "rt", "rp", "bdi", "bdo", "span", "br", "wbr",
         "ins", "del", "image", "img", "iframe", "embed", "object", "param", "video", "audio", "source", "track",
         "canvas", "map", "area", "math", "mi", "mo", "mn", "ms", "mtext", "mglyph", "malignmark", "annotation-xml",
         "svg", "foreignobject", "desc", "table", "caption", "colgroup", "col", "tbody", "thead", "tfoot", "tr",
         "td", "th", "form", "fieldset", "legend", "label", "input", "button", "select", "datalist", "optgroup",
         "option", "textarea", "keygen", "output", "progress", "meter", "details", "summary", "menu", "menuitem",
         "applet", "acronym", "bgsound", "dir", "frame", "frameset", "noframes", "isindex", "listing", "xmp",
         "nextid", "noembed", "plaintext", "rb", "strike", "basefont", "big", "blink", "center", "font", "marquee",
         "multicol", "nobr", "spacer", "tt", "rtc"},
        kKnown);
    return map;
  }();
  return traits;
}

bool Lowered(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != lower[i]) return false;
  }
  return true;
}

}  // namespace

unsigned TraitsOf(std::string_view name) {
  const auto& traits = HtmlTraits();
  const auto found = traits.find(name);
  return found == traits.end() ? 0u : found->second;
}

const HtmlAttribute* FindAttribute(const HtmlToken& token, std::string_view lowerName) {
  for (const HtmlAttribute& attribute : token.attributes) {
    if (Lowered(attribute.name, lowerName)) return &attribute;
  }
  return nullptr;
}

// An attribute value with its numeric character references and the named ones for "/" and "+"
// decoded, in lower case: enough to tell "text/html" however it is written.
std::string DecodedLowerValue(std::string_view value) {
  std::string decoded;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '&' && i + 1 < value.size() && value[i + 1] == '#') {
      std::size_t p = i + 2;
      const bool hex = p < value.size() && (value[p] == 'x' || value[p] == 'X');
      if (hex) ++p;
      unsigned long code = 0;
      const std::size_t digits = p;
      while (p < value.size() && code < 0x110000) {
        const char c = value[p];
        const int digit = c >= '0' && c <= '9' ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                         : -1;
        if (digit < 0) break;
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        ++p;
      }
      if (p > digits) {
        decoded += code < 128 ? static_cast<char>(code) : '?';
        i = p < value.size() && value[p] == ';' ? p : p - 1;
        continue;
      }
    }
    if (value.substr(i, 5) == "&sol;") {
      decoded += '/';
      i += 4;
      continue;
    }
    if (value.substr(i, 6) == "&plus;") {
      decoded += '+';
      i += 5;
      continue;
    }
    const char c = value[i];
    decoded += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return decoded;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == '/'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace platform::browser
