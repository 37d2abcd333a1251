#pragma once
// Other programs writing a word library while the bar runs, each on a thread of its own: an
// editor that rewrites the file in place in small steps, and a program that adds a line and puts
// the file in place by an atomic rename, over and over. Both stop (and are joined) when destroyed.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <thread>

namespace testing_support {

// Truncates the file at path and writes `content` into it in steps of `step` bytes, `pause`
// apart, as an editor saving in place does.
class InPlaceRewriter {
 public:
  InPlaceRewriter(QString path, QByteArray content, qsizetype step, std::chrono::milliseconds pause);
  ~InPlaceRewriter() { stop(); }
  InPlaceRewriter(const InPlaceRewriter&) = delete;
  InPlaceRewriter& operator=(const InPlaceRewriter&) = delete;

  bool done() const { return done_; }
  void stop() { thread_ = {}; }
  // Waits for the whole content to be written.
  void finish();

 private:
  std::atomic<bool> done_{false};
  std::jthread thread_;
};

// Every `period`, reads the library at path, adds the line "added<n>@[a]" at its end, and
// replaces the file by a rename from a temporary file beside it.
class RenamingAppender {
 public:
  RenamingAppender(QString path, std::chrono::milliseconds period);
  ~RenamingAppender() { stop(); }
  RenamingAppender(const RenamingAppender&) = delete;
  RenamingAppender& operator=(const RenamingAppender&) = delete;

  // Stops after the addition under way; the lines added until then.
  QStringList stop();

 private:
  std::atomic<int> added_{0};
  std::jthread thread_;
};

// The line the appender adds the n-th time (from 1).
QString AddedLine(int n);

}  // namespace testing_support
