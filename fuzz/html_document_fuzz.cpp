// Arbitrary bytes as a web page, read as the score board reads the forum's pages; and the same
// bytes (less the first) repeated as many times as the first byte says, so that a few bytes of
// input make pages nested far past the limit. No page may crash the reader, take it down by its
// depth, or give a document whose elements contradict each other; and the look at the tags
// before parsing never finds the page shallower than the parsed tree is, so a page it lets
// through is never refused afterwards for its depth.

#include "platform/browser/html_document.h"

#include <QByteArray>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using platform::browser::EstimateNesting;
using platform::browser::HtmlDocument;
using platform::browser::kMaxPageBytes;
using platform::browser::kPageLimits;

constexpr qsizetype kLargestRepeatedPage = 256 * 1024;
constexpr int kRepeatStep = 16;
constexpr int kElementsChecked = 200;  // each check copies an element's markup

void Check(const QByteArray& page) {
  const HtmlDocument document = HtmlDocument::Parse(page, QUrl(QStringLiteral("http://127.0.0.1/forum/")));
  if (!document.refusal().isEmpty() && document.count() != 0) std::abort();
  if (page.size() <= kMaxPageBytes) {
    const auto estimate = EstimateNesting(page, kPageLimits);
    if (!estimate.overLimit && document.refusal().startsWith(QStringLiteral("the page nests deeper"))) std::abort();
    for (int i = 0; i < document.count(); ++i) {
      if (document.depth(i) > estimate.depth || document.depth(i) < 1) std::abort();
    }
  }
  for (int i = 0; i < document.count() && i < kElementsChecked; ++i) {
    if (!document.outerHtml(i).startsWith(QLatin1Char('<') + document.tag(i))) std::abort();
    const int form = document.formOf(i);
    if (form >= i || (form >= 0 && document.tag(form) != QStringLiteral("form"))) std::abort();
  }
  if (document.has(document.count())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray page(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  Check(page);
  if (size > 1) {
    const QByteArray unit = page.mid(1);
    const int times = 1 + data[0] * kRepeatStep;
    if (unit.size() * times <= kLargestRepeatedPage) Check(unit.repeated(times));
  }
  return 0;
}
