#pragma once
// A sound server of the test's own: PulseAudio in the foreground with a private runtime folder
// and two null sinks (devices that play into nothing) as its only outputs: event sounds (streams
// of the role "event", as the event-sound library marks its own) go to one, every other sound
// (speech) to the other, and a recorder listens to the event sink's monitor from the start. A
// program given address() as PULSE_SERVER plays into them, and loudestEventSample() tells whether
// an event sound arrived. Nothing of the machine's own sound set-up is used or changed; the
// destructor stops the recorder and the server and reaps them.

#include "tests/support/x11_tools.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testing_support {

class PrivateSoundServer {
 public:
  // Starts the server and the recorder and waits until both run (a few seconds at most); check
  // running() and error().
  PrivateSoundServer();
  ~PrivateSoundServer();
  PrivateSoundServer(const PrivateSoundServer&) = delete;
  PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

  bool running() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }

  // The server's address, for PULSE_SERVER ("unix:/.../native").
  QString address() const;
  // The largest absolute 16-bit sample of the event sink recorded so far: 0 while only silence
  // arrived.
  int loudestEventSample() const;
  // The server's and the recorder's messages, for failure reports.
  QString log() const;

 private:
  QProcessEnvironment environment() const;
  // Runs pactl on this server; whether it succeeded.
  bool pactl(const QStringList& arguments) const;

  QTemporaryDir folder_;
  std::unique_ptr<BackgroundProcess> server_;
  std::unique_ptr<BackgroundProcess> recorder_;
  QString error_;
};

}  // namespace testing_support
