#pragma once
// Reading one web page inside the reader: the page is parsed by the HTML5 rules (gumbo), so the
// implied html, head and body elements count like in any browser, and the tree the parser really
// built is walked once, in document order, into the element list a document needs. Its depth,
// its elements (comments included) and its attributes are counted on that tree as the walk meets
// them; the first limit passed ends the walk with a refusal. The walk keeps a stack of its own, so
// no tree is too deep for it, and the parser's memory is one arena dropped whole, so the parser's
// own recursive free never runs.
//
// What this cannot bound (the parser's time and memory while it builds the tree) the reader's
// process limits bound.

#include "platform/browser/page_answer.h"

#include <QByteArrayView>

namespace reader {

platform::browser::PageAnswer ReadPage(QByteArrayView page,
                                       const platform::browser::PageLimits& limits = platform::browser::kPageLimits);

}  // namespace reader
