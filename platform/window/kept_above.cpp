#include "platform/window/kept_above.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <vector>

namespace platform {
namespace {

constexpr const char* kTopmostProperty = "platformTopmostWindow";

bool IsTopmostWindow(const QWidget& widget) { return widget.property(kTopmostProperty).toBool(); }

// A topmost window on screen (the bar, or the dictionary pop-up), if any.
QWidget* ShownTopmostWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (IsTopmostWindow(*widget) && widget->isVisible()) return widget;
  }
  return nullptr;
}

bool AnyTopmostWindowShown() { return ShownTopmostWindow() != nullptr; }

// A window of its own that the learner looks at: not a menu, tool tip or other transient helper,
// nor a window the window manager never sees (the tray icon's, docked into the tray).
bool OpensAsItsOwnWindow(const QWidget& widget) {
  if (!widget.isWindow() || IsTopmostWindow(widget)) return false;
  if (widget.windowFlags().testFlag(Qt::BypassWindowManagerHint)) return false;
  const Qt::WindowType type = widget.windowType();
  return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen && type != Qt::Desktop &&
         type != Qt::SubWindow;
}

class KeptAboveWatcher final : public QObject {
 public:
  void raiseKeptWindows() {
    for (const QPointer<QWidget>& window : kept_) {
      if (window && window->isVisible()) window->raise();
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && OpensAsItsOwnWindow(*widget)) {
      if (QWidget* topmost = ShownTopmostWindow()) keepAbove(*widget, *topmost);
    } else if (event->type() == QEvent::Hide && IsTopmostWindow(*widget)) {
      // Sent before the window is marked hidden: look again once it is.
      QTimer::singleShot(0, this, [this] {
        if (!AnyTopmostWindowShown()) releaseKeptWindows();
      });
    }
    return false;
  }

 private:
  // The Show event comes before the window is mapped, so the window system first sees the window
  // as one that belongs to the topmost window: a window manager keeps it above that one, in its
  // layer. The raise and the focus follow once it is on screen (without a window manager nothing
  // else puts it there).
  void keepAbove(QWidget& widget, QWidget& topmost) {
    QWindow* handle = widget.windowHandle();
    if (handle == nullptr || topmost.windowHandle() == nullptr) return;
    handle->setTransientParent(topmost.windowHandle());
    forget(widget);
    kept_.emplace_back(&widget);
    QTimer::singleShot(0, &widget, [&widget] {
      if (!widget.isVisible()) return;
      widget.raise();
      widget.activateWindow();
    });
  }

  // The windows no longer belong to a topmost window: the next showing places them as their own.
  void releaseKeptWindows() {
    for (const QPointer<QWidget>& window : kept_) {
      if (window && window->windowHandle() != nullptr) window->windowHandle()->setTransientParent(nullptr);
    }
    kept_.clear();
  }

  void forget(const QWidget& widget) {
    std::erase_if(kept_, [&](const QPointer<QWidget>& window) { return window.isNull() || window == &widget; });
  }

  std::vector<QPointer<QWidget>> kept_;
};

KeptAboveWatcher* Watcher() {
  static QPointer<KeptAboveWatcher> watcher;
  if (watcher.isNull() && QCoreApplication::instance() != nullptr) {
    watcher = new KeptAboveWatcher;  // owned by the application object
    watcher->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(watcher);
  }
  return watcher;
}

}  // namespace

void WatchWindowsOpenedOver(QWidget& topmostWindow) {
  topmostWindow.setProperty(kTopmostProperty, true);
  Watcher();
}

void RaiseWindowsKeptAbove() {
  if (KeptAboveWatcher* watcher = Watcher()) watcher->raiseKeptWindows();
}

}  // namespace platform
