#pragma once
// What the reader answers for a web page, and the limits a page must keep. The reader parses the
// page in a process of its own and answers with the element list a document needs: each element's
// tag, attributes, depth and form, and its stretches of the page's markup and text; or, for a page
// over a limit, only why it was refused. The program decodes the answer without trusting it:
// every count, index and stretch is checked, and an answer that breaks the format or contradicts
// itself is a refused page, never a crash or a half-read document.
//
// The format is length-prefixed binary in the machine's own byte order (the reader is always the
// program's own build on the same machine): a header, then either a refusal or the content.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace platform::browser {

inline constexpr qsizetype kMaxPageBytes = 8 * 1024 * 1024;
inline constexpr int kMaxNestingDepth = 1000;
// Far more than a forum page needs (its pages have a few thousand), and few enough that the
// largest page takes well under 256 MB.
inline constexpr std::int64_t kMaxElements = 200'000;  // comments included
inline constexpr std::size_t kMaxAttributesPerTag = 256;
inline constexpr std::int64_t kMaxAttributes = 200'000;

// The limits a page's parsed tree must keep.
struct PageLimits {
  int depth;                     // levels of the tree, the html element being level 1
  std::int64_t elements;         // elements and comments of the whole tree, implied ones included
  std::size_t attributesPerTag;  // attributes one tag may carry
  std::int64_t attributes;       // attributes of all tags
};
inline constexpr PageLimits kPageLimits{kMaxNestingDepth, kMaxElements, kMaxAttributesPerTag, kMaxAttributes};

// Why a page was not read. The first ones are the reader's own answers; the rest are how the
// program judges a reader that did not answer, or answered nonsense.
enum class PageRefusal : std::uint8_t {
  None,
  TooLarge,                // more bytes than kMaxPageBytes
  TooDeep,                 // elements nest deeper than the depth limit
  TooManyElements,         // more elements and comments than allowed
  TooManyAttributesInTag,  // one tag carries more attributes than allowed
  TooManyAttributes,       // all tags together carry more attributes than allowed
  Unreadable,              // the parser gave no tree
  BadAnswer,               // the reader's answer broke the format
  OutOfTime,               // the reader used up its CPU time or the deadline passed
  OutOfMemory,             // the reader met its memory limit
  ReaderFailed,            // the reader crashed or ended without an answer
  ReaderMissing,           // the reader program could not be started
};

// The refusal in plain English, naming the limit it is about (for logs and lastError()).
QString PageRefusalText(PageRefusal refusal);

struct PageElement {
  std::uint32_t tag = 0;  // position in PageContent::tags
  std::vector<std::pair<QString, QString>> attributes;  // names in lower case
  // The element's markup and text, as stretches of PageContent::html and ::text.
  qsizetype htmlStart = 0;
  qsizetype htmlLength = 0;
  qsizetype textStart = 0;
  qsizetype textLength = 0;
  int form = -1;  // the enclosing form's position, always before the element
  int depth = 0;  // the html element is at 1
};

// A read page: its elements in document order, their tag names (each stored once), and the
// markup and text of the whole page, of which each element keeps its stretch.
struct PageContent {
  std::vector<QString> tags;
  std::vector<PageElement> elements;
  QString html;
  QString text;
};

struct PageAnswer {
  PageRefusal refusal = PageRefusal::None;
  PageContent content;  // empty unless refusal is None
};

QByteArray EncodePageAnswer(const PageAnswer& answer);
// The answer, or a BadAnswer refusal for bytes that are not a whole, consistent answer within
// `limits`.
PageAnswer DecodePageAnswer(QByteArrayView bytes, const PageLimits& limits = kPageLimits);

}  // namespace platform::browser
