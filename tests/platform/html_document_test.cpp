// The page reader's limits: how deep a page may nest, how many elements and attributes it may
// have and how large it may be, judged both from its tags before parsing and from the parsed
// tree, with the tag rules a hostile page could use to hide tags from the first look; the scan
// held against the parser's real tree on generated pages; and the elements' markup and text taken
// from the one copy of the page.

#include "platform/browser/html_document.h"
#include "platform/browser/html_nesting.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::browser::EstimateNesting;
using platform::browser::HtmlDocument;
using platform::browser::kMaxNestingDepth;
using platform::browser::kPageLimits;
using platform::browser::NestingLimits;
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
      {"every start tag nests in svg", "<svg>" + Repeat("<option>", 1200), true},
      {"end tags count again after an svg", "<svg><g/></svg>" + Repeat("<div>x</div>", 3000), false},
      {"a cell's end closes what is open in it", "<table>" + Repeat("<td><font>x</td>", 1100), false},
      {"cells nest four levels a table", Repeat("<table><td>", 260), true},
      {"void elements still take a level", divs + Repeat("<div>", 398) + "<br>", true},
      {"end tags of elements never opened", Repeat("<div></x>", 1200), true},
      {"an end tag below a blocking element", Repeat("<span><div></span>", 600), true},
      {"an unknown end tag closes an element of another unknown name, as in the parser",
       Repeat("<abcdefghijklmnopqrx></abcdefghijklmnopqry>", 1200), false},
      {"but not a known one", Repeat("<span></abcdefghijklmnopqry>", 1200), true},
      {"misnested inline elements", Repeat("<div><b><i>x</b></i></div>", 3000), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TagsNestDeeperThan(QByteArray::fromStdString(c.page), kMaxNestingDepth), c.deeper) << c.name;
  }
}

// Limits no generated page reaches: the page is parsed whatever the scan says.
constexpr NestingLimits kNoLimits{std::numeric_limits<int>::max(), std::numeric_limits<std::int64_t>::max(),
                                  std::numeric_limits<std::size_t>::max() - 1, std::numeric_limits<std::int64_t>::max()};

struct Shape {
  int depth = 0;
  int elements = 0;
};

// The tree the parser really builds: its deepest element and its element count.
Shape ParsedShape(const QByteArray& page) {
  const HtmlDocument document = HtmlDocument::Parse(page, QUrl("http://127.0.0.1/"), kNoLimits);
  Shape shape{0, document.count()};
  for (int i = 0; i < document.count(); ++i) shape.depth = std::max(shape.depth, document.depth(i));
  return shape;
}

// Pages made of random runs of pieces from one family of tags the HTML rules treat specially:
// the scan's depth is never below the parsed tree's. Its element count follows the parser's
// closely; around misnested formatting elements in tables the parser's own shortcuts can make a
// few more copies than the scan counts, never many.
TEST(HtmlNesting, NeverCountsFewerLevelsThanTheParserBuilds) {
  const struct {
    const char* family;
    std::vector<std::string> pieces;
  } families[] = {
      {"tables",
       {"<table>", "</table>", "<tr>", "</tr>", "<td>", "</td>", "<th>", "</th>", "<tbody>", "</tbody>", "<thead>",
        "<tfoot>", "<caption>", "</caption>", "<colgroup>", "</colgroup>", "<col>", "x", " ", "<div>", "</div>",
        "<b>", "</b>", "<font>", "<span>", "<select>", "<option>", "<form>", "</form>", "<input type=hidden>"}},
      {"lists",
       {"<ul>", "</ul>", "<ol>", "</ol>", "<li>", "</li>", "<dl>", "</dl>", "<dt>", "</dt>", "<dd>", "</dd>", "<p>",
        "</p>", "x", "<span>", "</span>", "<b>", "</b>", "<div>", "</div>", "<address>", "<menu>"}},
      {"paragraphs",
       {"<p>", "</p>", "<span>", "</span>", "<div>", "</div>", "<h1>", "</h1>", "<h2>", "</h3>", "<pre>", "</pre>",
        "<form>", "</form>", "<button>", "</button>", "x", "<br>", "</br>", "<hr>", "<address>", "</address>",
        "<ruby>", "<rt>", "<rp>", "</ruby>", "<plaintext>"}},
      {"formatting elements",
       {"<b>", "</b>", "<i>", "</i>", "<a href=1>", "<a>", "</a>", "<nobr>", "</nobr>", "<font color=red>",
        "</font>", "<b class=k>", "<u>", "</u>", "<em>", "</em>", "<strong>", "<p>", "</p>", "<div>", "</div>",
        "x", "<table>", "<td>", "</td>", "</table>", "<object>", "</object>", "<span>", "</span>", "<h4>", "</h4>",
        "<li>", "<marquee>", "</marquee>"}},
      {"select",
       {"<select>", "</select>", "<option>", "</option>", "<optgroup>", "</optgroup>", "<b>", "x", "<div>",
        "</div>", "<input>", "<textarea>x</textarea>", "<table>", "<td>", "</td>", "<tr>", "</table>", "<keygen>",
        "<script>x</script>", "<template>", "</template>", "<style>", "<plaintext>", "<i>", "</b>"}},
      {"foreign content",
       {"<svg>", "</svg>", "<math>", "</math>", "<g>", "</g>", "<path/>", "<foreignObject>", "</foreignObject>",
        "<desc>", "</desc>", "<title>", "</title>", "<mi>", "</mi>", "<mtext>", "<annotation-xml encoding=text/html>",
        "<annotation-xml encoding='TEXT&#47;HTML'>", "<annotation-xml>", "</annotation-xml>", "<div>", "</div>",
        "<p>", "</p>", "<font color=1>", "<font>", "<option>", "<td>", "<table>", "<b>", "</b>", "x",
        "<![CDATA[<div>]]>", "<mglyph>", "<style>", "</style>", "<br>", "<span>", "</span>", "<li>", "</p>"}},
      {"misnested end tags",
       {"</div>", "</span>", "</b>", "</p>", "</li>", "</td>", "</table>", "</x>", "<x>", "<div>", "<span>", "<b>",
        "<i>", "</i>", "<p>", "<li>", "<table>", "<td>", "<svg>", "x", "<template>", "</template>", "<a>", "</a>",
        "<h2>", "</h3>", "<title>x</title>", "<!-- c -->", "<frameset>", "</frameset>", "<frame>", "<tr>",
        "</object>", "<object>", "</form>", "<form>", "<nobr>", "</body>", "<body>", "</html>", "<caption>"}},
  };
  for (const auto& family : families) {
    const auto join = [&family](const std::vector<std::size_t>& chosen) {
      std::string html;
      for (const std::size_t piece : chosen) html += family.pieces[piece];
      return QByteArray::fromStdString(html);
    };
    const auto undercounts = [](const QByteArray& page) {
      const auto scanned = EstimateNesting(page, kNoLimits);
      const Shape parsed = ParsedShape(page);
      return scanned.depth < parsed.depth || scanned.elements * 5 < parsed.elements * 4;
    };
    std::mt19937 random(20240611u);
    for (int page = 0; page < 400; ++page) {
      std::vector<std::size_t> chosen(20 + random() % 600);
      for (std::size_t& piece : chosen) piece = random() % family.pieces.size();
      if (!undercounts(join(chosen))) continue;
      // Shrink the page to the pieces the fault needs, for the report.
      for (bool shrunk = true; shrunk;) {
        shrunk = false;
        for (std::size_t i = 0; i < chosen.size(); ++i) {
          std::vector<std::size_t> fewer = chosen;
          fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
          if (undercounts(join(fewer))) {
            chosen = fewer;
            shrunk = true;
            --i;
          }
        }
      }
      const QByteArray html = join(chosen);
      ADD_FAILURE() << family.family << ": scanned " << EstimateNesting(html, kNoLimits).depth << " levels and "
                    << EstimateNesting(html, kNoLimits).elements << " elements, parsed " << ParsedShape(html).depth
                    << " and " << ParsedShape(html).elements << ": " << html.toStdString();
      break;
    }
  }
}

// Pages of one unit repeated, shallow as the parser builds them: none is refused, and the scan
// stays close to the real depth.
TEST(HtmlNesting, AcceptsOrdinaryPagesOfManyElements) {
  const struct {
    const char* head;
    const char* unit;
  } pages[] = {
      {"<table>", "<td><font>x</td>"},
      {"<table>", "<tr><td><b>x</td><td><span>y"},
      {"<ul>", "<li><b>x</li>"},
      {"", "<p><span>x</p>"},
      {"", "<p><i class=a>x</p>"},
      {"<svg><path d=M0/><g></g></svg>", "<div>x</div>"},
      {"<p><svg viewBox='0 0 1 1'><circle r=1 /></svg>", "<span>x</span>"},
      {"", "<b><div>x</b></div>"},
      {"<select>", "<option><b>x"},
      {"<select>", "<optgroup><option>x</option>"},
      {"", "<div><ul><li>x</div>"},
      {"", "<dl><dt>a<dd>b</dl>"},
      {"", "<form><input name=a></form>"},
      {"", "<a href=x>y<a href=z>w</a>"},
      {"", "<h1>a<h2>b</h1>"},
      {"<table>", "<caption>x</caption><colgroup><col></colgroup><tbody><tr><td>y</td></tr></tbody>"},
      {"", "<math><mi>x</mi></math><p>"},
      {"", "<object><b>x</object>"},
      {"", "<nobr>a<nobr>b</nobr>"},
  };
  for (const auto& page : pages) {
    std::string html = page.head;
    for (int i = 0; i < 1200; ++i) html += page.unit;
    const QByteArray bytes = QByteArray::fromStdString(html);
    const auto scanned = EstimateNesting(bytes, kPageLimits);
    const Shape parsed = ParsedShape(bytes);
    EXPECT_FALSE(scanned.overLimit) << page.unit << ": scanned " << scanned.depth << ", parsed " << parsed.depth;
    EXPECT_GE(scanned.depth, parsed.depth) << page.unit;
    EXPECT_LE(scanned.depth, parsed.depth + 8) << page.unit;
    EXPECT_TRUE(HtmlDocument::Parse(bytes, QUrl("http://127.0.0.1/")).refusal().isEmpty()) << page.unit;
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

// Pages that would crash the parser, or take far more memory or time than a page may, are
// refused before the parser sees them; the largest ordinary ones are read.
TEST(HtmlDocument, RefusesPagesTheParserCannotAffordAndReadsTheLargestOrdinaryOnes) {
  const std::string attributes = [] {
    std::string tag = "<div";
    for (int i = 0; i < 300; ++i) tag += " a" + std::to_string(i);
    return tag + ">";
  }();
  const struct {
    const char* name;
    std::string page;
    const char* refusal;  // the start of the reason; nullptr: read
  } cases[] = {
      {"an svg then 300,000 options", "<svg>" + Repeat("<option>", 300000), "the page nests deeper"},
      {"an svg then a million inputs", "<svg>" + Repeat("<input>", 1000000), "the page nests deeper"},
      {"math then 1.5 million cells", "<math>" + Repeat("<td>", 1500000), "the page nests deeper"},
      {"an svg icon then 2.5 million paragraphs", "<svg></svg>" + Repeat("<p>", 2500000), "the page has more than"},
      {"a tag of 300 attributes", attributes, "a tag of the page has more than"},
      {"210,000 attributes", Repeat("<b a b c d e f g h i j></b>", 21000), "the page has more than 200000 attributes"},
      {"1.1 million comments", Repeat("<!---->", 1100000), "the page has more than"},
      {"bogus comments count too", Repeat("<?x></ x><!x>", 70000), "the page has more than"},
      {"199,000 line breaks", Repeat("<br>", 199000), nullptr},
      {"an svg icon then 20,000 cells", "<svg><path/></svg><table>" + Repeat("<tr><td><b>x</b></td>", 20000), nullptr},
  };
  for (const auto& c : cases) {
    const HtmlDocument document = HtmlDocument::Parse(QByteArray::fromStdString(c.page), QUrl("http://127.0.0.1/"));
    if (c.refusal) {
      EXPECT_TRUE(document.refusal().startsWith(c.refusal)) << c.name << ": " << document.refusal().toStdString();
      EXPECT_EQ(document.count(), 0) << c.name;
    } else {
      EXPECT_TRUE(document.refusal().isEmpty()) << c.name << ": " << document.refusal().toStdString();
      EXPECT_GT(document.count(), 20000) << c.name;
    }
  }
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
