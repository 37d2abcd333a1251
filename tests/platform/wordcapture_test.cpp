// The word grabber with a fake selection source: which word of a selection reaches the sink, and
// when reports are made.
#include "platform/wordcapture/word_grabber.h"

#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QElapsedTimer>

namespace {

using testing_support::WaitUntil;
using namespace std::chrono_literals;

class FakeSelection : public platform::SelectionSource {
 public:
  QString text() const override { return text_; }
  void select(const QString& text) {  // another program selects `text`
    text_ = text;
    emit changed();
  }

 private:
  QString text_;
};

TEST(CapturedWord, IsTheFirstWordOfTheSelectionCutAtSixtyFourUnits) {
  const QString pair = QString::fromUcs4(U"\U0001F600");
  const std::vector<std::tuple<QString, QString, qsizetype>> cases = {
      {"  \t\napple pie\n", "apple", 4},
      {"苹果 很好吃", "苹果", 0},
      {" \r\n ", "", 4},
      {QString(70, 'a'), QString(64, 'a'), 0},
      {QString(63, 'a') + pair, QString(63, 'a'), 0},  // the pair would be cut in half
      {QString(62, 'a') + pair + "b", QString(62, 'a') + pair, 0},
      {"page " + QString(8'000'000, 'x'), "page", 0},
  };
  for (const auto& [text, word, offset] : cases) {
    const platform::CapturedWord captured = platform::FirstWordOf(text);
    EXPECT_EQ(captured.word, word) << text.left(80).toStdString();
    EXPECT_EQ(captured.offset, offset) << text.left(80).toStdString();
  }
}

class Grabber : public ::testing::Test, public platform::IXDictGrabSink {
 protected:
  std::int32_t QueryWord(const QString& WordString, std::int32_t lCursorX, std::int32_t lCursorY,
                         const QString& SentenceString, std::int32_t lLoc, std::int32_t /*lStart*/) override {
    words << WordString;
    pointer = QPoint(lCursorX, lCursorY);
    sentence = SentenceString;
    loc = lLoc;
    return 0;
  }
  // Sets the grabber up as the dictionary pop-up does.
  void advise(std::int32_t delayTenths) {
    grabber.setGrabEnabled(true);
    grabber.setGrabMode(platform::kGrabPrimarySelection);
    grabber.setGrabDelay(delayTenths);
    std::int32_t cookie = 0;
    grabber.AdviseGrab(this, cookie);
  }
  static void settle(std::chrono::milliseconds time) {
    QElapsedTimer clock;
    clock.start();
    WaitUntil([&] { return clock.elapsed() >= time.count(); }, time + 1s, 10ms);
  }

  FakeSelection* selection = new FakeSelection;  // owned by the grabber
  platform::WordGrabber grabber{std::unique_ptr<platform::SelectionSource>(selection)};
  QStringList words;
  QPoint pointer;
  QString sentence;
  std::int32_t loc = -1;
};

TEST_F(Grabber, ReportsTheSelectedWordWithThePointerOnceTheSelectionRests) {
  advise(2);  // 200 ms
  for (const QString text : {"  b", "  br", "  bridge over"}) {
    selection->select(text);
    settle(30ms);
  }
  ASSERT_TRUE(WaitUntil([&] { return !words.isEmpty(); }, 2s, 10ms));
  settle(300ms);
  EXPECT_EQ(words, QStringList{"bridge"});
  EXPECT_EQ(sentence, "  bridge over");
  EXPECT_EQ(loc, 2);
  EXPECT_EQ(pointer, QCursor::pos());
}

TEST_F(Grabber, ReportsNothingWhileOffForABlankSelectionOrInAnotherMode) {
  std::int32_t cookie = 0;
  grabber.AdviseGrab(this, cookie);
  selection->select("word");  // capture not switched on yet
  advise(0);
  selection->select(" \n ");
  grabber.setGrabMode(1);
  selection->select("word");
  grabber.setGrabMode(platform::kGrabPrimarySelection);
  grabber.setGrabDelay(2);
  selection->select("word");
  grabber.setGrabEnabled(false);  // in the middle of the wait
  settle(400ms);
  EXPECT_TRUE(words.isEmpty());
}

}  // namespace
