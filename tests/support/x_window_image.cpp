#include "tests/support/x_window_image.h"

#include <QSet>

// Xlib last: its macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace testing_support {

namespace {

// Keeps a vanished window's BadWindow/BadMatch from ending the test process.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

struct XWindowImage::Connection {
  struct Closer {
    void operator()(Display* display) const { XCloseDisplay(display); }
  };
  std::unique_ptr<Display, Closer> display;
};

XWindowImage::XWindowImage(const QString& display) : connection_(std::make_unique<Connection>()) {
  connection_->display.reset(XOpenDisplay(display.toLocal8Bit().constData()));
}

XWindowImage::~XWindowImage() = default;

bool XWindowImage::connected() const { return connection_->display != nullptr; }

QImage XWindowImage::grab(const QString& window) const {
  Display* display = connection_->display.get();
  if (display == nullptr) return {};
  const XErrorHandler previous = XSetErrorHandler(IgnoreError);
  const Window id = window.toULong(nullptr, 0);
  XWindowAttributes attributes{};
  QImage result;
  if (XGetWindowAttributes(display, id, &attributes) != 0 && attributes.map_state == IsViewable) {
    XImage* image = XGetImage(display, id, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image != nullptr) {
      result = QImage(attributes.width, attributes.height, QImage::Format_RGB32);
      for (int y = 0; y < attributes.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < attributes.width; ++x) line[x] = 0xFF000000U | XGetPixel(image, x, y);
      }
      XDestroyImage(image);
    }
  }
  XSync(display, False);
  XSetErrorHandler(previous);
  return result;
}

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

}  // namespace testing_support
