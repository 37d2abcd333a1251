// Arbitrary bytes as a web page, read as the reader's page mode reads it and taken as the program
// takes its answer; the same bytes (less the first) repeated as many times as the first byte says,
// so that a few bytes of input make pages nested far past the limit; and the bytes as an answer
// themselves, as a reader gone wrong could send them. No page may crash the reading, no tree is
// too deep for it, a refused page has no elements, and a document's elements never contradict
// each other.

#include "platform/browser/html_document.h"
#include "reader/page_reader.h"

#include <QByteArray>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using platform::browser::HtmlDocument;
using platform::browser::kMaxNestingDepth;

constexpr qsizetype kLargestRepeatedPage = 16 * 1024;  // nests past the depth limit; the parser slows with depth
constexpr int kRepeatStep = 16;
constexpr int kElementsChecked = 200;  // each check copies an element's markup

void CheckDocument(const HtmlDocument& document) {
  if (!document.refusal().isEmpty() && document.count() != 0) std::abort();
  for (int i = 0; i < document.count(); ++i) {
    if (document.depth(i) < 1 || document.depth(i) > kMaxNestingDepth) std::abort();
    const int form = document.formOf(i);
    if (form >= i || (form >= 0 && document.tag(form) != QStringLiteral("form"))) std::abort();
  }
  for (int i = 0; i < document.count() && i < kElementsChecked; ++i) {
    if (document.outerHtml(i).size() < 0 || document.innerText(i).size() < 0) std::abort();
  }
  if (document.has(document.count())) std::abort();
}

void CheckPage(const QByteArray& page) {
  const QUrl address(QStringLiteral("http://127.0.0.1/forum/"));
  const HtmlDocument document = HtmlDocument::FromAnswer(EncodePageAnswer(reader::ReadPage(page)), address);
  if (document.refusalReason() == platform::browser::PageRefusal::BadAnswer) std::abort();
  CheckDocument(document);
  for (int i = 0; i < document.count() && i < kElementsChecked; ++i) {
    const QString html = document.outerHtml(i);
    // The text stands escaped in the markup, so it is never longer.
    if (!html.startsWith(QLatin1Char('<') + document.tag(i)) || document.innerText(i).size() > html.size()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  CheckPage(bytes);
  CheckDocument(HtmlDocument::FromAnswer(bytes, QUrl(QStringLiteral("http://127.0.0.1/"))));
  if (size > 1) {
    const QByteArray unit = bytes.mid(1);
    const int times = 1 + data[0] * kRepeatStep;
    if (unit.size() * times <= kLargestRepeatedPage) CheckPage(unit.repeated(times));
  }
  return 0;
}
