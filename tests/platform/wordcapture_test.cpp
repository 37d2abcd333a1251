// The word grabber with a fake selection source: which word of a selection reaches the sink, and
// when reports are made.
#include "platform/wordcapture/word_grabber.h"

#include "tests/support/x11_tools.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QElapsedTimer>

#include <optional>

namespace {

using testing_support::WaitUntil;
using namespace std::chrono_literals;

class FakeSelection : public platform::SelectionSource {
 public:
  QString text() const override { return text_; }
  std::optional<bool> stillSelecting() const override { return buttonHeld; }
  void select(const QString& text) {  // another program selects `text`
    text_ = text;
    emit changed();
  }

  std::optional<bool> buttonHeld;  // unknown unless a test says

 private:
  QString text_;
};

TEST(CapturedWord, IsTheFirstWordOfTheSelectionWithoutPunctuationCutAtSixtyFourUnits) {
  const QString pair = QString::fromUcs4(U"\U0001F600");
  const QString mathLetter = QString::fromUcs4(U"\U0001D400");  // a letter of two units
  const std::vector<std::tuple<QString, QString, qsizetype>> cases = {
      {"  \t\napple pie\n", "apple", 4},
      {"Hello, world", "Hello", 0},
      {"(apple)", "apple", 1},
      {"l'eau", "l'eau", 0},
      {"o\u2019clock!", "o\u2019clock", 0},
      {"Rücküberweisung.", "Rücküberweisung", 0},
      {"\"well-known\" words", "well-known", 1},
      {"'quoted' -- dashes", "quoted", 1},
      {"rock--roll", "rock", 0},  // two joiners in a row end the word
      {"«  42,5 €", "42", 3},
      {"e\u0301te\u0301", "e\u0301te\u0301", 0},  // combining accents stay with their letters
      {"— " + mathLetter + "x.", mathLetter + "x", 2},
      {"苹果 很好吃", "苹果", 0},
      {"【苹果】", "苹果", 1},
      {"   ", "", 3},
      {" \r\n ", "", 4},
      {"... ?!", "", 6},
      {QString(70, 'a'), QString(64, 'a'), 0},
      {QString(63, 'a') + mathLetter, QString(63, 'a'), 0},  // the pair would be cut in half
      {QString(62, 'a') + mathLetter + "b", QString(62, 'a') + mathLetter, 0},
      {"smile" + pair + "!", "smile", 0},  // a symbol is no letter
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

TEST_F(Grabber, TakesASelectionAsSoonAsThePointersButtonsAreUp) {
  advise(100);  // the wait by time (ten seconds) never applies while the buttons can be seen
  selection->buttonHeld = true;  // the learner drags over the text
  for (const QString text : {"wa", "water", "water lily"}) {
    selection->select(text);
    settle(30ms);
  }
  settle(100ms);
  EXPECT_TRUE(words.isEmpty());  // nothing while the drag goes on
  selection->buttonHeld = false;
  ASSERT_TRUE(WaitUntil([&] { return !words.isEmpty(); }, 2s, 1ms));
  EXPECT_EQ(words, QStringList{"water"});

  selection->select("(ice)");  // selected with the keyboard, or by a program: taken at once
  ASSERT_TRUE(WaitUntil([&] { return words.size() == 2; }, 2s, 1ms));
  EXPECT_EQ(words.last(), "ice");
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
