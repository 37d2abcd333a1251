#pragma once
// A clean end on a termination signal: SIGTERM (`kill`, a logout, a build tool stopping the
// program), SIGHUP (the terminal closed) and SIGINT (Ctrl+C). A signal handler can do next to
// nothing safely, so the one installed here only writes a byte into a socket pair; the event loop
// reads it, and there, in the program's own thread, the end begins: TerminationRequested() turns
// true and every running event loop returns, the nested ones of open dialogs and message boxes
// included (they answer as cancelled). The program then ends from main(), outside every
// window's handler, where nothing it unloads is still in use. A transfer in progress ends as
// cancelled (url_download.h), so no download holds the end up.
//
// A signal the program was started with ignored (nohup, a background job of a non-interactive
// shell) stays ignored. Further signals while the end is under way are ignored: they neither
// start a second end nor cut the first one short.

#include <QSocketNotifier>

#include <memory>

namespace platform {

class TerminationSignals {
 public:
  // Takes the three signals over; needs the application object. One object at a time.
  TerminationSignals();
  // Gives the signals back as they were found; after a signal they stay ignored instead, so
  // that the rest of the end is not cut short.
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void readSignals();

  std::unique_ptr<QSocketNotifier> notifier_;
};

// Whether a termination signal has reached the event loop: the program is ending.
bool TerminationRequested();

}  // namespace platform
