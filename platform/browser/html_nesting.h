#pragma once
// A quick look at how deep a page's tags nest, before the page is parsed. The HTML parser works
// harder the deeper the open elements stack up (each new tag looks through them), so a hostile
// page of a few megabytes nested a million levels deep would keep it busy for hours; this scan
// reads the tags once, in linear time, holding no more than the open elements up to the limit,
// and tells whether the elements its start tags open, less those its end tags close, ever stack
// up deeper than a limit. An end tag closes only an open element of its own name that the parser
// would close too, so end tags that match nothing cannot hide the depth.
//
// It is an estimate on the safe side for real pages: void elements (br, img...) and elements
// that close their open sibling of the same kind (p, li, td, option...) are not counted; the text
// of script, style, textarea, title and the like is skipped; comments and declarations are
// skipped. The parsed tree is checked exactly afterwards.

#include <QByteArray>

#include <string_view>

namespace platform::browser {

// True for the elements that never hold children (br, img, input...), by lower-case tag name:
// they have no end tag, and they add no level.
bool IsVoidElement(std::string_view name);

// True when the tags of `html` nest deeper than `limit` levels.
bool TagsNestDeeperThan(const QByteArray& html, int limit);

}  // namespace platform::browser
