// Reading the largest pages the score board accepts (8 MB) through the reader, as the browser has
// them read, built to be as hard as a page of that size can be: the most elements and attributes
// accepted, the deepest nesting allowed with elements below it, and pages the reader refuses
// (nested too deep, in SVG or not, or with too many elements); and a forum page of an ordinary
// size. Each must be read (or refused) well within the page time-out. The peak memory of the
// program (this process, the answer decoded into a document) and of the reader are reported
// beside the time: run one benchmark per process (--benchmark_filter) to read them for that page.

#include "platform/browser/html_document.h"
#include "platform/browser/web_browser.h"

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
  qsizetype answerBytes = 0;
  for (auto _ : state) {
    const auto outcome = platform::reader::RunReader(platform::browser::PageReaderRun(page));
    const HtmlDocument document = outcome.answered()
                                      ? HtmlDocument::FromAnswer(outcome.answer, QUrl(QStringLiteral("http://127.0.0.1/")))
                                      : HtmlDocument();
    // A page the reader does not answer for (a limit stopped it) is a refusal, as in the browser.
    if (!outcome.answered()) state.SetLabel("refused: " + outcome.detail.toStdString());
    elements = document.count();
    answerBytes = outcome.answer.size();
    benchmark::DoNotOptimize(elements);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  rusage reader{};
  getrusage(RUSAGE_CHILDREN, &reader);
  state.counters["elements"] = elements;
  state.counters["answer_MB"] = static_cast<double>(answerBytes) / (1024.0 * 1024.0);
  state.counters["program_peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  state.counters["reader_peak_MB"] = static_cast<double>(reader.ru_maxrss) / 1024.0;
  const auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
  state.counters["reader_cpu_s"] = seconds(reader.ru_utime) + seconds(reader.ru_stime);
}

// A forum's thread list: a head of scripts and styles, a table of threads with links, icons and
// forms, and a foot; about 100 KB, like the forum's real pages.
QByteArray ForumPage() {
  std::string page =
      "<!DOCTYPE html><html><head><meta charset=utf-8><title>Forum</title><link rel=stylesheet href=s.css>"
      "<script>var a = 1 < 2;</script><style>td { color: red }</style></head><body><div id=header>"
      "<a href=index.php>Forum</a> <span class=user>LexScore01</span> <a href=\"logging.php?action=logout&amp;f=1\">"
      "退出</a><svg width=16 height=16><path d='M0 0h16v16z'/></svg></div><form name=search action=search.php>"
      "<input name=srchtxt><input type=submit name=searchsubmit></form><table class=threads>";
  for (int thread = 0; thread < 400; ++thread) {
    const std::string n = std::to_string(thread);
    page += "<tr><td class=icon><img src=i.gif alt=''></td><td class=subject><a href=\"viewthread.php?tid=" + n +
            "&amp;extra=page%3D1\">AC01::Words" + n + ".abc</a> <span class=pages>[<b>1</b>]</span></td>"
            "<td class=author><cite><a href=space.php?uid=" + n + ">user" + n + "</a></cite><em>2024-6-1</em></td>"
            "<td class=nums><strong>" + n + "</strong>/<em>12</em></td></tr>\n";
  }
  page += "</table><div id=footer><p>Powered by the forum &copy; 2024</p></div></body></html>";
  return QByteArray::fromStdString(page);
}

// `head`, then `count` times `before` + text + `after`, the text as long as fills 8 MB.
QByteArray Filled(const std::string& head, const std::string& before, const std::string& after, int count) {
  const std::size_t room = (static_cast<std::size_t>(kMaxPageBytes) - head.size()) / static_cast<std::size_t>(count);
  return QByteArray::fromStdString(head + Repeat(before + std::string(room - before.size() - after.size(), 'x') + after, count));
}

// The most elements an 8 MB page may have: 199,990 paragraphs with titles long enough to fill it.
void BM_MostElementsAccepted(benchmark::State& state) { Read(state, Filled("<body>", "<p title=\"", "\">", 199990)); }
// The most attributes: 780 tags of 256 attributes, and text to fill 8 MB.
void BM_MostAttributesAccepted(benchmark::State& state) {
  std::string tag = "<b";
  for (int i = 0; i < 256; ++i) tag += " a" + std::to_string(i);
  Read(state, Filled("<body>", tag + ">", "</b>", 780));
}
void BM_MostCommentsAccepted(benchmark::State& state) { Read(state, Filled("<body>", "<!--", "-->", 199990)); }
void BM_ParagraphsAfterAnSvg(benchmark::State& state) { Read(state, Page("<svg></svg>", "<p>")); }
void BM_OptionsInAnSvg(benchmark::State& state) {
  Read(state, QByteArray::fromStdString("<svg>" + Repeat("<option>", 300000)));
}
void BM_ForumPage(benchmark::State& state) { Read(state, ForumPage()); }
void BM_ParagraphsOnly(benchmark::State& state) { Read(state, Page("<body>", "<p>")); }
void BM_DeepestAllowedWithSpans(benchmark::State& state) {
  Read(state, Filled("<body>" + Repeat("<div>", 997), "<span>", "</span>", 198000));
}
void BM_NestedTooDeep(benchmark::State& state) { Read(state, Page("<body>", "<div>")); }

BENCHMARK(BM_ForumPage)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MostElementsAccepted)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MostAttributesAccepted)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MostCommentsAccepted)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OptionsInAnSvg)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ParagraphsAfterAnSvg)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ParagraphsOnly)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_DeepestAllowedWithSpans)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NestedTooDeep)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
