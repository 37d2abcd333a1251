#pragma once
// A quick look at how deep a page's elements will nest and how many there will be, before the
// page is parsed. The HTML parser works harder the deeper its open elements stack up, frees its
// tree recursively (a tree a few hundred thousand levels deep overflows the stack), and takes
// memory for every element and attribute; the page reader refuses a page this look finds over
// its limits before the parser sees it.
//
// The scan reads the tags once (HtmlTagScanner) and follows the parser's own rules for the
// shape of the tree, on a stack of open elements of its own: end tags close what the parser
// would close (a cell's end closes what is open inside it, an unmatched end tag closes nothing),
// tables get the sections and rows the parser adds, formatting elements left open are reopened
// where the parser reopens them, and inside SVG and MathML every start tag nests, whatever its
// name, until a tag breaks out. Where a rule is not followed to the letter it is followed on the
// safe side: the scan may count a few more levels or elements than the parser makes, never
// fewer. It stops as soon as a limit is passed, and holds no more than the limits' worth.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform::browser {

// True for the elements that never hold children (br, img, input...), by lower-case tag name:
// they have no end tag, and they add no level.
bool IsVoidElement(std::string_view name);

struct NestingLimits {
  int depth;                     // levels of the tree, the html element being level 1
  std::int64_t elements;         // elements and comments of the whole tree, implied ones included
  std::size_t attributesPerTag;  // attributes one tag may carry
  std::int64_t attributes;       // attributes of all tags
};

// What the scan found, as far as it read.
struct NestingEstimate {
  int depth = 0;                    // the deepest level the tree can reach
  std::int64_t elements = 0;        // the elements (and comments) the parser can make
  std::size_t attributesPerTag = 0; // the most attributes of one tag
  std::int64_t attributes = 0;      // the attributes of all tags
  bool overLimit = false;           // a limit was passed (the scan stopped there)
};

NestingEstimate EstimateNesting(const QByteArray& html, const NestingLimits& limits);

// True when the tags of `html` nest deeper than `limit` levels.
bool TagsNestDeeperThan(const QByteArray& html, int limit);

}  // namespace platform::browser
