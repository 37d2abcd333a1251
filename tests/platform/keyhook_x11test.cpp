#include "platform/keyhook/keyboard_hook.h"

#include "tests/support/x11_tools.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QThread>

// Xlib after Qt: its macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace platform {
namespace {

using testing_support::WaitUntil;
using testing_support::XvfbServer;
using namespace std::chrono_literals;

// Sets DISPLAY for the test's lifetime: the hook connects to the display $DISPLAY names.
class ScopedDisplayVariable {
 public:
  explicit ScopedDisplayVariable(const QByteArray& value)
      : had_(qEnvironmentVariableIsSet("DISPLAY")), old_(qgetenv("DISPLAY")) {
    if (value.isNull()) {
      qunsetenv("DISPLAY");
    } else {
      qputenv("DISPLAY", value);
    }
  }
  ~ScopedDisplayVariable() {
    if (had_) {
      qputenv("DISPLAY", old_);
    } else {
      qunsetenv("DISPLAY");
    }
  }

 private:
  bool had_;
  QByteArray old_;
};

// A connection of the test's own, standing for another program on the display.
struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayConnection = std::unique_ptr<Display, DisplayCloser>;

DisplayConnection OpenDisplay(const QString& display) {
  return DisplayConnection(XOpenDisplay(display.toLocal8Bit().constData()));
}

struct SeenKey {
  KeyMessage message;
  KbdLlHookStruct record;
  bool altHeldBefore;  // the hook's key state for Alt while the procedure ran
};

// A window of another client that has the keyboard focus and records the keys it receives.
class FocusedWindow {
 public:
  explicit FocusedWindow(const QString& display) : connection_(OpenDisplay(display)) {
    if (!connection_) return;
    window_ = XCreateSimpleWindow(connection_.get(), DefaultRootWindow(connection_.get()), 0, 0, 200, 100, 0, 0, 0);
    XSelectInput(connection_.get(), window_, KeyPressMask | KeyReleaseMask);
    XMapWindow(connection_.get(), window_);
    XSync(connection_.get(), False);
    XSetInputFocus(connection_.get(), window_, RevertToParent, CurrentTime);
    XSync(connection_.get(), False);
  }
  bool valid() const { return connection_ != nullptr; }

  // Keysyms of the key presses received since the last call.
  std::vector<KeySym> takePresses() {
    std::vector<KeySym> presses;
    XSync(connection_.get(), False);
    while (XPending(connection_.get()) > 0) {
      XEvent event;
      XNextEvent(connection_.get(), &event);
      if (event.type == KeyPress) presses.push_back(XLookupKeysym(&event.xkey, 0));
    }
    return presses;
  }

 private:
  DisplayConnection connection_;
  Window window_ = 0;
};

class KeyboardHookX11 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.running()) << server_.error().toStdString();
    displayVariable_ = std::make_unique<ScopedDisplayVariable>(server_.display().toLocal8Bit());
  }

  std::unique_ptr<KeyboardHook> installRecorder() {
    QString error;
    auto hook = KeyboardHook::install(
        [this](int nCode, KeyMessage message, const KbdLlHookStruct& record) {
          EXPECT_EQ(nCode, HC_ACTION);
          seen_.push_back({message, record, hook_ && hook_->keyState(vk::Menu) != 0});
          return 0L;
        },
        &error);
    EXPECT_TRUE(hook) << error.toStdString();
    return hook;
  }

  void xdotool(const QStringList& arguments) {
    const auto result = testing_support::Xdotool(server_.display(), arguments);
    ASSERT_TRUE(result.ok()) << result.describe().toStdString();
  }

  // The events of one key seen so far.
  std::vector<SeenKey> seenOf(std::uint32_t vkCode) const {
    std::vector<SeenKey> events;
    std::copy_if(seen_.begin(), seen_.end(), std::back_inserter(events),
                 [vkCode](const SeenKey& key) { return key.record.vkCode == vkCode; });
    return events;
  }

  // Waits until count events of the key arrived, then a little longer so duplicates would show.
  bool waitForEventsOf(std::uint32_t vkCode, std::size_t count) {
    const bool arrived = WaitUntil([&] { return seenOf(vkCode).size() >= count; }, 5s);
    WaitUntil([] { return false; }, 150ms);
    return arrived;
  }

  XvfbServer server_;
  std::unique_ptr<ScopedDisplayVariable> displayVariable_;
  std::unique_ptr<KeyboardHook> hook_;
  std::vector<SeenKey> seen_;
};

TEST_F(KeyboardHookX11, EscapeIsReportedAsPressThenRelease) {
  hook_ = installRecorder();
  ASSERT_TRUE(hook_);
  EXPECT_NE(hook_->handle(), 0u);
  xdotool({"key", "Escape"});
  ASSERT_TRUE(waitForEventsOf(vk::Escape, 2));

  const auto escape = seenOf(vk::Escape);
  ASSERT_EQ(escape.size(), 2u);
  EXPECT_EQ(escape[0].message, KeyMessage::KeyDown);
  EXPECT_EQ(escape[0].record.flags, 0u);
  EXPECT_EQ(escape[0].record.scanCode, 0x01u);
  EXPECT_EQ(escape[1].message, KeyMessage::KeyUp);
  EXPECT_EQ(escape[1].record.flags, llkhf::Up);
  EXPECT_GE(escape[1].record.time, escape[0].record.time);
}

TEST_F(KeyboardHookX11, AltF12CarriesTheAltFlagOnceEach) {
  hook_ = installRecorder();
  ASSERT_TRUE(hook_);
  xdotool({"keydown", "alt", "key", "F12", "keyup", "alt"});
  ASSERT_TRUE(waitForEventsOf(vk::LMenu, 2));

  // The grab that keeps Alt+F12 from the focused program must not report it a second time.
  const auto f12 = seenOf(vk::F12);
  ASSERT_EQ(f12.size(), 2u);
  EXPECT_EQ(f12[0].record.flags, llkhf::AltDown);
  EXPECT_EQ(f12[0].message, KeyMessage::SysKeyDown);
  EXPECT_TRUE(f12[0].altHeldBefore);
  EXPECT_EQ(f12[1].record.flags, llkhf::AltDown | llkhf::Up);

  const auto alt = seenOf(vk::LMenu);
  ASSERT_EQ(alt.size(), 2u);
  EXPECT_EQ(alt[0].record.flags, llkhf::AltDown);
  EXPECT_FALSE(alt[0].altHeldBefore);
  EXPECT_EQ(alt[1].record.flags, llkhf::Up);
  EXPECT_EQ(hook_->keyState(vk::Menu), 0);
}

TEST_F(KeyboardHookX11, FocusedProgramGetsPlainKeysButNotAltHotKeys) {
  FocusedWindow window(server_.display());
  ASSERT_TRUE(window.valid());
  hook_ = installRecorder();
  ASSERT_TRUE(hook_);

  xdotool({"key", "F9"});
  ASSERT_TRUE(waitForEventsOf(vk::F9, 2));
  EXPECT_EQ(seenOf(vk::F9)[1].record.flags, llkhf::Up);
  EXPECT_EQ(window.takePresses(), std::vector<KeySym>{XK_F9});

  xdotool({"keydown", "alt", "key", "F10", "keyup", "alt"});
  ASSERT_TRUE(waitForEventsOf(vk::F10, 2));
  EXPECT_EQ(window.takePresses(), std::vector<KeySym>{XK_Alt_L});

  // A grab matches exact modifiers: CapsLock on must not let Alt+F11 through.
  xdotool({"key", "Caps_Lock", "keydown", "alt", "key", "F11", "keyup", "alt", "key", "Caps_Lock"});
  ASSERT_TRUE(waitForEventsOf(vk::F11, 2));
  EXPECT_EQ(window.takePresses(), (std::vector<KeySym>{XK_Caps_Lock, XK_Alt_L, XK_Caps_Lock}));

  // Shift or Control beside Alt: still the hook's, still swallowed.
  xdotool({"keydown", "shift", "keydown", "alt", "key", "F12", "keyup", "alt", "keyup", "shift"});
  xdotool({"keydown", "ctrl", "keydown", "alt", "key", "F9", "keyup", "alt", "keyup", "ctrl"});
  ASSERT_TRUE(waitForEventsOf(vk::F12, 2));
  ASSERT_TRUE(waitForEventsOf(vk::F9, 4));
  EXPECT_EQ(window.takePresses(), (std::vector<KeySym>{XK_Shift_L, XK_Alt_L, XK_Control_L, XK_Alt_L}));
}

TEST_F(KeyboardHookX11, AltHotKeyHeldByAnotherProgramStillReachesTheHook) {
  // Window managers often grab Alt+F10 themselves; the refused grab must not end the program.
  const DisplayConnection windowManager = OpenDisplay(server_.display());
  ASSERT_TRUE(windowManager);
  XGrabKey(windowManager.get(), XKeysymToKeycode(windowManager.get(), XK_F10), Mod1Mask,
           DefaultRootWindow(windowManager.get()), False, GrabModeAsync, GrabModeAsync);
  XSync(windowManager.get(), False);

  hook_ = installRecorder();
  ASSERT_TRUE(hook_);
  xdotool({"keydown", "alt", "key", "F10", "keyup", "alt"});
  ASSERT_TRUE(waitForEventsOf(vk::F10, 2));
  EXPECT_EQ(seenOf(vk::F10)[0].record.flags, llkhf::AltDown);
}

TEST_F(KeyboardHookX11, ReinstallingWhileAltIsHeldKeepsTheAltFlag) {
  // Each hot key removes and installs the hook again, often while Alt is still down.
  hook_ = installRecorder();
  ASSERT_TRUE(hook_);
  xdotool({"keydown", "alt"});
  ASSERT_TRUE(waitForEventsOf(vk::LMenu, 1));
  const std::uint32_t firstHandle = hook_->handle();
  hook_.reset();
  hook_ = installRecorder();
  ASSERT_TRUE(hook_);
  EXPECT_NE(hook_->handle(), firstHandle);
  EXPECT_NE(hook_->keyState(vk::Menu), 0);

  xdotool({"key", "F12", "keyup", "alt"});
  ASSERT_TRUE(waitForEventsOf(vk::F12, 2));
  EXPECT_EQ(seenOf(vk::F12)[0].record.flags, llkhf::AltDown);
}

// A caller that held the thread (a word said aloud) hears of the keys pressed meanwhile when it
// asks, without the event loop running, and each key only once.
TEST_F(KeyboardHookX11, KeysPressedWhileTheThreadIsHeldAreDeliveredWhenAsked) {
  hook_ = installRecorder();
  ASSERT_TRUE(hook_);
  WaitUntil([] { return false; }, 100ms);  // the hook's first look at its queue
  xdotool({"key", "Escape"});
  ASSERT_TRUE(seenOf(vk::Escape).empty());  // the thread is held: no event loop has run

  QElapsedTimer held;
  held.start();
  while (seenOf(vk::Escape).size() < 2 && held.elapsed() < 5000) {
    hook_->deliverPendingKeys();
    QThread::msleep(10);
  }
  const auto escape = seenOf(vk::Escape);
  ASSERT_EQ(escape.size(), 2u);
  EXPECT_EQ(escape[1].record.flags, llkhf::Up);
  WaitUntil([] { return false; }, 200ms);
  EXPECT_EQ(seenOf(vk::Escape).size(), 2u) << "the event loop does not report them again";
}

TEST_F(KeyboardHookX11, RemovedHookReportsNothingEvenWhenRemovedFromItsProcedure) {
  int calls = 0;
  hook_ = KeyboardHook::install([&](int, KeyMessage, const KbdLlHookStruct&) {
    ++calls;
    hook_.reset();
    return 0L;
  });
  ASSERT_TRUE(hook_);
  xdotool({"key", "Escape", "key", "F9"});
  ASSERT_TRUE(WaitUntil([&] { return calls > 0; }, 5s));
  WaitUntil([] { return false; }, 200ms);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(hook_);
}

TEST_F(KeyboardHookX11, LosingTheServerStopsTheHookWithoutEndingTheProgram) {
  auto server = std::make_unique<XvfbServer>();
  ASSERT_TRUE(server->running()) << server->error().toStdString();
  ScopedDisplayVariable display(server->display().toLocal8Bit());
  hook_ = installRecorder();
  ASSERT_TRUE(hook_);
  server.reset();
  EXPECT_TRUE(WaitUntil([&] { return !hook_->connected(); }, 5s));
  hook_.reset();
}

TEST(KeyboardHookInstall, FailsCleanlyWithoutADisplay) {
  QElapsedTimer clock;
  clock.start();
  {
    ScopedDisplayVariable noDisplay(QByteArray{});
    QString error;
    EXPECT_FALSE(KeyboardHook::install([](int, KeyMessage, const KbdLlHookStruct&) { return 0L; }, &error));
    EXPECT_TRUE(error.contains("DISPLAY")) << error.toStdString();
  }
  {
    ScopedDisplayVariable missingServer(":9876");
    QString error;
    EXPECT_FALSE(KeyboardHook::install([](int, KeyMessage, const KbdLlHookStruct&) { return 0L; }, &error));
    EXPECT_TRUE(error.contains(":9876")) << error.toStdString();
  }
  EXPECT_LT(clock.elapsed(), 5000);
}

}  // namespace
}  // namespace platform
