// Reading the largest pages the score board accepts (8 MB), built to be as hard as a page of
// that size can be for the reader: the most elements, the deepest nesting allowed with elements
// below it, and nesting refused before parsing. Each must be read (or refused) well within the
// page time-out; the peak memory of the process is reported beside the time.

#include "platform/browser/html_document.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <string>

namespace {

using platform::browser::HtmlDocument;
using platform::browser::kMaxPageBytes;

// A page of `head`, then `unit` repeated up to the size limit.
QByteArray Page(const std::string& head, const std::string& unit) {
  std::string page = head;
  while (page.size() + unit.size() <= static_cast<std::size_t>(kMaxPageBytes)) page += unit;
  return QByteArray::fromStdString(page);
}

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

void Read(benchmark::State& state, const QByteArray& page) {
  int elements = 0;
  for (auto _ : state) {
    const HtmlDocument document = HtmlDocument::Parse(page, QUrl(QStringLiteral("http://127.0.0.1/")));
    elements = document.count();
    benchmark::DoNotOptimize(elements);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["elements"] = elements;
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ParagraphsOnly(benchmark::State& state) { Read(state, Page("<body>", "<p>")); }
void BM_DeepestAllowedWithSpans(benchmark::State& state) {
  Read(state, Page("<body>" + Repeat("<div>", 997), "<span>x</span>"));
}
void BM_NestedTooDeep(benchmark::State& state) { Read(state, Page("<body>", "<div>")); }

BENCHMARK(BM_ParagraphsOnly)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DeepestAllowedWithSpans)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NestedTooDeep)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
