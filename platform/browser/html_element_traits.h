#pragma once
// What the HTML parser's tree-building rules make of an element, by its name: the sets of
// elements its rules name (special elements, scope bounds, formatting elements, void elements,
// the elements whose start tag closes an open paragraph...), for the nesting scan; and the
// attribute look-ups the scan needs.

#include "platform/browser/html_tag_scanner.h"

#include <string>
#include <string_view>

namespace platform::browser {

// What the parser's rules make of an HTML element.
enum Trait : unsigned {
  kSpecial = 1u << 0,        // stops the search for the element an end tag closes
  kScope = 1u << 1,          // bounds "in scope" (applet, caption, html, table, td, th...)
  kListScope = 1u << 2,      // bounds the list item scope too (ol, ul)
  kButtonScope = 1u << 3,    // bounds the button scope too
  kTableScope = 1u << 4,     // bounds the table scope (html, table, template)
  kFormatting = 1u << 5,     // kept in the list of active formatting elements
  kVoid = 1u << 6,           // never holds children
  kImpliedEnd = 1u << 7,     // closed when the parser closes the elements left open in a block
  kBlockEnd = 1u << 8,       // its end tag closes it when in scope, with everything inside
  kClosesP = 1u << 9,        // its start tag closes an open p
  kMarker = 1u << 10,        // puts a marker in the list of active formatting elements
  kBreaksOut = 1u << 11,     // its start tag inside SVG or MathML leaves foreign content
  kKeepsFrameset = 1u << 12, // seen before a frameset, the frameset still replaces the body
  kNoReconstruct = 1u << 13, // its start tag does not reopen formatting elements first
  kContext = 1u << 14,       // decides how table and select tags are read (td, tr, table...)
  kRawText = 1u << 15,       // its content is text up to its end tag
  kHeading = 1u << 16,       // h1 to h6
  kKnown = 1u << 17,         // a name the parser knows; an end tag of an unknown name closes
                             // the nearest element of any unknown name
};

// The traits of an HTML element by its lower-case name (0 for a name the rules do not list).
unsigned TraitsOf(std::string_view name);

// The attribute of the tag named `lowerName` (without regard to case), or nullptr.
const HtmlAttribute* FindAttribute(const HtmlToken& token, std::string_view lowerName);

// An attribute value with its numeric character references and the named ones for "/" and "+"
// decoded, in lower case: enough to tell "text/html" however it is written.
std::string DecodedLowerValue(std::string_view value);

// Text without the blanks and "/" around it.
std::string_view Trimmed(std::string_view text);

}  // namespace platform::browser
