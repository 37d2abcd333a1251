// A page as the reader reads it and the program takes its answer: the limits judged on the tree
// the parser really built, exactly at each limit; answers that break the format or contradict
// themselves refused whole; and the elements' markup, text and forms taken from the answer.

#include "platform/browser/html_document.h"
#include "platform/browser/page_answer.h"
#include "reader/page_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::browser::DecodePageAnswer;
using platform::browser::EncodePageAnswer;
using platform::browser::HtmlDocument;
using platform::browser::kMaxPageBytes;
using platform::browser::PageAnswer;
using platform::browser::PageRefusal;

std::string Repeat(const std::string& text, int times) {
  std::string result;
  result.reserve(text.size() * static_cast<std::size_t>(times));
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

std::string Attributes(int count, const std::string& prefix = "a") {
  std::string attributes;
  for (int i = 0; i < count; ++i) attributes += " " + prefix + std::to_string(i);
  return attributes;
}

// The page read as the program reads it, less the process: the reader's answer, encoded and
// decoded.
HtmlDocument Read(const QByteArray& page) {
  return HtmlDocument::FromAnswer(EncodePageAnswer(reader::ReadPage(page)), QUrl("http://127.0.0.1/forum/"));
}

TEST(PageReader, JudgesEachLimitOnTheParsedTreeExactlyAtTheLimit) {
  // html and body come first: 998 divs put the innermost at level 1,000.
  const auto nested = [](int levels) { return "<html><body>" + Repeat("<div>", levels) + "x" + Repeat("</div>", levels); };
  const std::string large = "<p>" + std::string(static_cast<std::size_t>(kMaxPageBytes), 'x');
  const struct {
    const char* name;
    std::string page;
    PageRefusal refusal;
  } cases[] = {
      {"1,000 levels", nested(998), PageRefusal::None},
      {"1,001 levels", nested(999), PageRefusal::TooDeep},
      {"a template tree 300,000 deep, whose recursive free overflows the stack",
       "<template/><col><title>" + Repeat("<template>", 300000), PageRefusal::TooDeep},
      // html, head and body are elements too.
      {"200,000 elements", Repeat("<br>", 199997), PageRefusal::None},
      {"200,001 elements", Repeat("<br>", 199998), PageRefusal::TooManyElements},
      {"comments count as elements", Repeat("<!---->", 199998), PageRefusal::TooManyElements},
      {"a tag of 256 attributes", "<b" + Attributes(256) + ">", PageRefusal::None},
      {"a tag of 257 attributes", "<b" + Attributes(257) + ">", PageRefusal::TooManyAttributesInTag},
      {"200,000 attributes", Repeat("<b" + Attributes(100) + ">x</b>", 2000), PageRefusal::None},
      {"200,001 attributes", Repeat("<b" + Attributes(100) + ">x</b>", 2000) + "<i z>", PageRefusal::TooManyAttributes},
      {"over 8 MB", large, PageRefusal::TooLarge},
  };
  for (const auto& c : cases) {
    const HtmlDocument document = Read(QByteArray::fromStdString(c.page));
    EXPECT_EQ(document.refusalReason(), c.refusal) << c.name << ": " << document.refusal().toStdString();
    if (c.refusal == PageRefusal::None) {
      EXPECT_GT(document.count(), 3) << c.name;
    } else {
      EXPECT_EQ(document.count(), 0) << c.name;
      EXPECT_FALSE(document.refusal().isEmpty()) << c.name;
    }
  }
}

// An answer is taken whole or not at all: each of these is a refused page, never a document with
// an element that points outside the answer.
TEST(PageAnswer, AnAnswerThatContradictsItselfIsRefusedWhole) {
  const PageAnswer good = reader::ReadPage(
      "<form name=f><p id=one>A <b>B</b></p><input name=i></form><!-- c --><i>C</i>");
  ASSERT_EQ(good.refusal, PageRefusal::None);
  ASSERT_GT(good.content.elements.size(), 6u);
  const auto changed = [&good](auto change) {
    PageAnswer answer = good;
    change(answer.content);
    return EncodePageAnswer(answer);
  };
  using Content = platform::browser::PageContent;
  const struct {
    const char* name;
    QByteArray answer;
  } cases[] = {
      {"an unknown tag", changed([](Content& c) { c.elements[3].tag = static_cast<std::uint32_t>(c.tags.size()); })},
      {"a form after the element", changed([](Content& c) { c.elements[4].form = 6; })},
      {"a form that is no form", changed([](Content& c) { c.elements[5].form = 0; })},
      {"markup past the end", changed([](Content& c) { c.elements[2].htmlLength = c.html.size() + 1; })},
      {"text past the end", changed([](Content& c) { c.elements[2].textStart = c.text.size(); c.elements[2].textLength = 1; })},
      {"a stretch that wraps around", changed([](Content& c) { c.elements[2].htmlStart = 0xffffffff; })},
      {"a level skipped", changed([](Content& c) { c.elements[3].depth += 2; })},
      {"a first element below the top", changed([](Content& c) { c.elements[0].depth = 2; })},
      {"an empty tag name", changed([](Content& c) { c.tags[0].clear(); })},
      {"too many attributes on a tag",
       changed([](Content& c) { c.elements[1].attributes.resize(platform::browser::kMaxAttributesPerTag + 1); })},
      {"a byte too many", EncodePageAnswer(good) + 'x'},
      {"not an answer", QByteArray("<html><body>a page, not an answer")},
      {"nothing", QByteArray()},
  };
  for (const auto& c : cases) {
    const HtmlDocument document = HtmlDocument::FromAnswer(c.answer, QUrl("http://127.0.0.1/"));
    EXPECT_EQ(document.refusalReason(), PageRefusal::BadAnswer) << c.name;
    EXPECT_EQ(document.count(), 0) << c.name;
  }
  // Cut anywhere, the answer is refused; a length that promises more than follows allocates
  // nothing.
  const QByteArray whole = EncodePageAnswer(good);
  for (qsizetype size = 0; size < whole.size(); ++size) {
    EXPECT_EQ(DecodePageAnswer(whole.first(size)).refusal, PageRefusal::BadAnswer) << "cut at " << size;
  }
  EXPECT_EQ(DecodePageAnswer(whole).refusal, PageRefusal::None);
}

TEST(HtmlDocument, EachElementKeepsItsOwnMarkupTextAndForm) {
  const HtmlDocument page = Read(
      "<html><head><script>if (a<b) x();</script></head><body><form name=f><p id=one>A &amp; <b>B</b></p>"
      "<textarea name=t>T</textarea></form><!-- note --><i>C</i><a href=\"t.php?x=1&amp;y=2\">l</a></body></html>");
  ASSERT_TRUE(page.refusal().isEmpty());
  const int paragraph = page.byId("one");
  EXPECT_EQ(page.outerHtml(paragraph), "<p id=\"one\">A &amp; <b>B</b></p>");
  EXPECT_EQ(page.innerText(paragraph), "A & B");
  EXPECT_EQ(page.depth(paragraph), 4);
  EXPECT_EQ(page.outerHtml(page.byName("t")), "<textarea name=\"t\">T</textarea>");
  EXPECT_EQ(page.formOf(page.byName("t")), page.formByName("f"));
  EXPECT_EQ(page.formOf(page.byId("one") + 3), -1);
  EXPECT_EQ(page.outerHtml(2), "<script>if (a<b) x();</script>");
  EXPECT_EQ(page.innerText(0), "A & BTCl");
  EXPECT_TRUE(page.outerHtml(0).contains("<!-- note --><i>C</i>"));
  EXPECT_EQ(page.href(page.count() - 1), "http://127.0.0.1/forum/t.php?x=1&y=2");
  EXPECT_FALSE(page.has(page.count()));
}

}  // namespace
