// The word grabber with a fake selection source: which word of a selection reaches the sink, when
// reports are made, and that a selection still growing is reported once.
#include "platform/wordcapture/word_grabber.h"

#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QElapsedTimer>

#include <vector>

namespace {

using testing_support::WaitUntil;
using namespace std::chrono_literals;

class FakeSelection : public platform::SelectionSource {
 public:
  QString text() const override { return text_; }
  // Another program selects `text`.
  void select(const QString& text) {
    text_ = text;
    emit changed();
  }

 private:
  QString text_;
};

struct Report {
  QString word;
  QPoint pointer;
  QString sentence;
  std::int32_t loc;
};

class RecordingSink : public platform::IXDictGrabSink {
 public:
  std::int32_t QueryWord(const QString& WordString, std::int32_t lCursorX, std::int32_t lCursorY,
                         const QString& SentenceString, std::int32_t lLoc, std::int32_t /*lStart*/) override {
    reports.push_back({WordString, QPoint(lCursorX, lCursorY), SentenceString, lLoc});
    return 0;
  }
  std::vector<Report> reports;
};

TEST(CapturedWord, IsTheFirstWordOfTheSelectionCutAtSixtyFourUnits) {
  const QString pair = QString::fromUcs4(U"\U0001F600");
  struct Case {
    QString text;
    QString word;
    qsizetype offset;
  };
  const std::vector<Case> cases = {
      {"apple", "apple", 0},
      {"  \t\napple pie\n", "apple", 4},
      {"苹果 很好吃", "苹果", 0},
      {" \r\n ", "", 4},
      {QString(70, 'a'), QString(64, 'a'), 0},
      {QString(63, 'a') + pair + "b", QString(63, 'a'), 0},  // the pair would be cut in half
      {QString(62, 'a') + pair + "b", QString(62, 'a') + pair, 0},
  };
  for (const Case& c : cases) {
    const platform::CapturedWord captured = platform::FirstWordOf(c.text);
    EXPECT_EQ(captured.word, c.word) << c.text.toStdString();
    EXPECT_EQ(captured.offset, c.offset) << c.text.toStdString();
  }
}

TEST(CapturedWord, OfAWholePageCostsNoMoreThanAWord) {
  const QString page = "first " + QString(8'000'000, 'x');
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(platform::FirstWordOf(page).word, "first");
  EXPECT_LT(clock.elapsed(), 500);
}

class Grabber : public ::testing::Test {
 protected:
  Grabber() {
    auto source = std::make_unique<FakeSelection>();
    selection = source.get();
    grabber = std::make_unique<platform::WordGrabber>(std::move(source));
  }
  // Sets the grabber up as the dictionary pop-up does.
  void advise(std::int32_t delayTenths = 0) {
    grabber->setGrabEnabled(true);
    grabber->setGrabMode(platform::kGrabPrimarySelection);
    grabber->setGrabDelay(delayTenths);
    std::int32_t cookie = 0;
    grabber->AdviseGrab(&sink, cookie);
    EXPECT_NE(cookie, 0);
  }
  // Lets the grabber's waits run out.
  static void settle(std::chrono::milliseconds time) {
    QElapsedTimer clock;
    clock.start();
    WaitUntil([&] { return clock.elapsed() >= time.count(); }, time + 1s, 10ms);
  }

  RecordingSink sink;
  FakeSelection* selection = nullptr;
  std::unique_ptr<platform::WordGrabber> grabber;
};

TEST_F(Grabber, ReportsTheSelectedWordWithThePointerAndTheSelection) {
  advise();
  selection->select("  bridge over the river");
  ASSERT_TRUE(WaitUntil([&] { return !sink.reports.empty(); }, 2s, 10ms));
  ASSERT_EQ(sink.reports.size(), 1u);
  EXPECT_EQ(sink.reports[0].word, "bridge");
  EXPECT_EQ(sink.reports[0].sentence, "  bridge over the river");
  EXPECT_EQ(sink.reports[0].loc, 2);
  EXPECT_EQ(sink.reports[0].pointer, QCursor::pos());
}

TEST_F(Grabber, ReportsNothingBeforeItIsSetUpForABlankSelectionOrInAnotherMode) {
  std::int32_t cookie = 0;
  grabber->AdviseGrab(&sink, cookie);
  selection->select("word");  // capture not switched on yet
  advise();
  selection->select(" \n ");
  grabber->setGrabMode(1);
  selection->select("word");
  settle(200ms);
  EXPECT_TRUE(sink.reports.empty());
}

TEST_F(Grabber, ReportsASelectionStillGrowingOnceItRests) {
  advise(2);  // 200 ms
  for (const QString text : {"w", "wo", "wor", "word"}) {
    selection->select(text);
    settle(30ms);
  }
  settle(400ms);
  ASSERT_EQ(sink.reports.size(), 1u);
  EXPECT_EQ(sink.reports[0].word, "word");
}

TEST_F(Grabber, StopsReportingWhenCaptureIsSwitchedOffMidWait) {
  advise(2);
  selection->select("word");
  grabber->setGrabEnabled(false);
  settle(400ms);
  EXPECT_TRUE(sink.reports.empty());
}

}  // namespace
