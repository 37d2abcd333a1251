// The page reader's limits: how deep a page may nest and how large it may be, judged both from
// its tags before parsing and from the parsed tree, with the tag rules a hostile page could use
// to hide tags from the first look; and the elements' markup and text taken from the one copy of
// the page.

#include "platform/browser/html_document.h"
#include "platform/browser/html_nesting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::browser::HtmlDocument;
using platform::browser::kMaxNestingDepth;
using platform::browser::kMaxPageBytes;
using platform::browser::TagsNestDeeperThan;

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

TEST(HtmlNesting, TagsHiddenFromTheParserDoNotCountAndTagsItSeesDo) {
  const std::string divs = Repeat("<div>", 600);
  const std::string closes = Repeat("</div>", 600);
  const struct {
    const char* name;
    std::string page;
    bool deeper;
  } cases[] = {
      {"closed elements", Repeat("<div>x</div>", 5000), false},
      {"deep elements", divs + divs, true},
      {"void and sibling elements", Repeat("<br><img src=a><p>x<li>y<td>z", 3000), false},
      {"tags in a comment", "<!--" + divs + divs + "-->", false},
      {"a comment ended by --!>", "<!-- x --!>" + divs + divs, true},
      {"tags in a script", "<script>" + divs + divs + "</script>", false},
      {"tags in a title, end tag with a strange character", "<title>" + divs + "</title\x01>" + divs + "</title>", false},
      {"a quote that opens no value", "<div =\"x>" + divs + divs + "\">", true},
      {"a quoted value holding >", "<div title=\"a>b\">" + Repeat("<div>", 1000), true},
      {"end tags inside a doubly escaped script",
       divs + "<script><!--<script></script>" + closes + "</script>" + divs, true},
      {"a script escape ended at once", "<script><!-->" + std::string("</script>") + divs + divs, true},
      {"svg keeps its title's content as markup", "<svg><title>" + divs + divs + "</title></svg>", true},
      {"end tags are no help once svg appears", "<svg></svg>" + divs + "</div>" + divs, true},
      {"end tags of elements never opened", Repeat("<div></x>", 1200), true},
      {"an end tag below a blocking element", Repeat("<span><div></span>", 600), true},
      {"names alike in their first 17 letters", Repeat("<abcdefghijklmnopqrx></abcdefghijklmnopqry>", 1200), true},
      {"misnested inline elements", Repeat("<div><b><i>x</b></i></div>", 3000), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TagsNestDeeperThan(QByteArray::fromStdString(c.page), kMaxNestingDepth), c.deeper) << c.name;
  }
}

TEST(HtmlDocument, RefusesTooDeepAndTooLargePagesAndReadsTheDeepestAllowed) {
  // html and body come first: 998 divs put the innermost at level 1,000.
  const auto nested = [](int levels) {
    return QByteArray::fromStdString("<html><body>" + Repeat("<div>", levels) + "inner" + Repeat("</div>", levels));
  };
  QByteArray large = "<p>";
  large.append(kMaxPageBytes, 'x');
  const struct {
    const char* name;
    QByteArray page;
    bool refused;
  } cases[] = {
      {"1,000 levels", nested(998), false},
      {"1,001 levels", nested(999), true},
      {"20,000 levels", nested(20000), true},
      {"over 8 MB", large, true},
  };
  for (const auto& c : cases) {
    const HtmlDocument document = HtmlDocument::Parse(c.page, QUrl("http://127.0.0.1/"));
    EXPECT_EQ(!document.refusal().isEmpty(), c.refused) << c.name << " " << document.refusal().toStdString();
    if (c.refused) {
      EXPECT_EQ(document.count(), 0) << c.name;
    }
  }
  const HtmlDocument deepest = HtmlDocument::Parse(nested(998), QUrl("http://127.0.0.1/"));
  ASSERT_EQ(deepest.count(), 1001);  // html, head, body and the divs
  EXPECT_EQ(deepest.innerText(3), "inner");
  EXPECT_EQ(deepest.outerHtml(1000), "<div>inner</div>");
  EXPECT_TRUE(deepest.outerHtml(2).startsWith("<body><div><div>"));
  EXPECT_FALSE(deepest.has(1001));
}

TEST(HtmlDocument, EachElementKeepsItsOwnMarkupAndText) {
  const HtmlDocument page = HtmlDocument::Parse(
      "<html><head><script>if (a<b) x();</script></head><body><form name=f><p id=one>A &amp; <b>B</b></p>"
      "<textarea name=t>T</textarea></form><!-- note --><i>C</i></body></html>",
      QUrl("http://127.0.0.1/"));
  ASSERT_TRUE(page.refusal().isEmpty());
  const int paragraph = page.byId("one");
  EXPECT_EQ(page.outerHtml(paragraph), "<p id=\"one\">A &amp; <b>B</b></p>");
  EXPECT_EQ(page.innerText(paragraph), "A & B");
  EXPECT_EQ(page.outerHtml(page.byName("t")), "<textarea name=\"t\">T</textarea>");
  EXPECT_EQ(page.formOf(page.byName("t")), page.formByName("f"));
  EXPECT_EQ(page.outerHtml(2), "<script>if (a<b) x();</script>");
  EXPECT_EQ(page.innerText(0), "A & BTC");
  EXPECT_TRUE(page.outerHtml(0).contains("<!-- note --><i>C</i>"));
}

}  // namespace
