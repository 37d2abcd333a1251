#pragma once
// Reads a window's pixels straight from the X server, fast enough to poll every few
// milliseconds: what a learner sees at that moment, for tests that time when a drawing appears.

#include <QImage>
#include <QString>

#include <memory>

namespace testing_support {

class XWindowImage {
 public:
  // Connects to display (":N"); check connected().
  explicit XWindowImage(const QString& display);
  ~XWindowImage();
  XWindowImage(const XWindowImage&) = delete;
  XWindowImage& operator=(const XWindowImage&) = delete;

  bool connected() const;
  // The window's pixels as the server holds them now (RGB32); empty when the window is gone.
  QImage grab(const QString& window) const;

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

// The number of distinct colours in the picture: a window drawn on the server shows its pictures
// and texts, one not painted yet a single colour.
int DistinctColours(const QImage& image);

}  // namespace testing_support
