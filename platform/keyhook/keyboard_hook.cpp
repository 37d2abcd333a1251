#include "platform/keyhook/keyboard_hook.h"

#include "platform/keyhook/key_state.h"

#include <QSocketNotifier>
#include <QTimer>
#include <QtGlobal>

// Xlib after Qt: its macros (None, Bool, Status, ...) would clash with Qt's names.
#include "platform/keyhook/key_grabs.h"
#include "platform/keyhook/keyboard_map.h"
#include "platform/keyhook/x_connection.h"

#include <X11/extensions/XInput2.h>

#include <bitset>
#include <optional>

namespace platform {

using namespace keyhook_x11;

namespace {

std::uint32_t NextHandle() {
  static std::uint32_t last = 0;
  if (++last == 0) ++last;
  return last;
}

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

// Asks the server for raw key events of every keyboard. Raw events come whichever window has the
// focus and whoever grabs the keyboard (XInput 2.1 and later), and do not take the keys away
// from anyone. They are taken from the physical (slave) devices: the server leaves out the master
// keyboard's raw release of a key the hook's own grab holds. Returns the XInput opcode, or
// nothing with the reason in *error.
std::optional<int> SelectRawKeyEvents(Display* display, QString* error) {
  int opcode = 0;
  int firstEvent = 0;
  int firstError = 0;
  if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError)) {
    SetError(error, QStringLiteral("The X server has no XInput extension, so global hot keys are not available."));
    return std::nullopt;
  }
  int major = 2;
  int minor = 2;
  if (XIQueryVersion(display, &major, &minor) != Success) {
    SetError(error, QStringLiteral("The X server's XInput extension is older than version 2, so global hot keys "
                                   "are not available."));
    return std::nullopt;
  }
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_RawKeyPress);
  XISetMask(bits, XI_RawKeyRelease);
  XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
  ErrorTrap trap(display);
  XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
  if (!trap.finish()) {
    SetError(error, QStringLiteral("The X server refused to report key events, so global hot keys are not available."));
    return std::nullopt;
  }
  return opcode;
}

void WarnRefusedGrabs(const QStringList& refused) {
  if (refused.isEmpty()) return;
  qWarning("Another program holds %s; those keys still act but also reach that program.",
           qPrintable(refused.join(QStringLiteral(", "))));
}

}  // namespace

struct KeyboardHook::State {
  Procedure procedure;
  std::uint32_t handle = NextHandle();
  DisplayPtr display;
  int xinputOpcode = 0;
  std::optional<KeyboardMap> map;
  AltHotKeyGrabs grabs;
  KeyStateTable keys;
  std::bitset<256> keycodesDown;  // the server's view, to drop releases of keys that are not down
  bool connectionLost = false;    // set by Xlib when the server goes away
  std::optional<ConnectionLossGuard> lossGuard;
  // Cleared when the hook is removed, so a read loop whose procedure removed the hook stops.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  // Declared after the display, so it stops watching the connection before the connection closes.
  std::unique_ptr<QSocketNotifier> notifier;

  void takeKeysHeldNow();
  void readEvents();
  void remap(XMappingEvent& event);
  void report(unsigned keycode, bool release, Time time);
};

void KeyboardHook::State::takeKeysHeldNow() {
  char keymap[32] = {};
  XQueryKeymap(display.get(), keymap);
  for (unsigned keycode = 0; keycode < 256; ++keycode) {
    if ((keymap[keycode / 8] >> (keycode % 8)) & 1) {
      keycodesDown.set(keycode);
      keys.apply(map->key(keycode).vkCode, false);
    }
  }
}

// Xlib reads whatever the socket holds into its own queue, so every wake-up empties the queue.
void KeyboardHook::State::readEvents() {
  const std::shared_ptr<bool> stillInstalled = alive;
  Display* connection = display.get();
  while (!connectionLost && XPending(connection) > 0) {
    XEvent event;
    XNextEvent(connection, &event);
    if (event.type == MappingNotify) {
      remap(event.xmapping);
      continue;
    }
    // Core key events come only from the hook's own Alt grabs; the raw events report those keys.
    if (event.type != GenericEvent || event.xcookie.extension != xinputOpcode) continue;
    if (!XGetEventData(connection, &event.xcookie)) continue;
    const int type = event.xcookie.evtype;
    const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
    const auto keycode = static_cast<unsigned>(raw->detail) & 0xFF;
    const Time time = raw->time;
    const bool fromPhysicalDevice = raw->deviceid == raw->sourceid;  // the master repeats each slave event
    XFreeEventData(connection, &event.xcookie);
    if ((type != XI_RawKeyPress && type != XI_RawKeyRelease) || !fromPhysicalDevice) continue;
    report(keycode, type == XI_RawKeyRelease, time);
    if (!*stillInstalled) return;
  }
  if (connectionLost) {
    notifier->setEnabled(false);
    qWarning("The connection to the X server was lost; global hot keys no longer work.");
  }
}

// The server announces a new mapping when the layout changes, and also whenever another keyboard
// (or XTEST) starts typing, so this runs often and warns only about a change.
void KeyboardHook::State::remap(XMappingEvent& event) {
  XRefreshKeyboardMapping(&event);
  if (event.request == MappingPointer) return;
  const QStringList refusedBefore = grabs.refused;
  UngrabAltHotKeys(display.get(), grabs);
  map.emplace(display.get());
  grabs = GrabAltHotKeys(display.get(), *map);
  if (grabs.refused != refusedBefore) WarnRefusedGrabs(grabs.refused);
}

void KeyboardHook::State::report(unsigned keycode, bool release, Time time) {
  // XTEST lets programs release keys that are not down; the server drops those, and so do we.
  if (release && !keycodesDown.test(keycode)) return;
  keycodesDown.set(keycode, !release);
  const KeyIdentity& key = map->key(keycode);
  const KeyEvent event = keys.describe(key, release, static_cast<std::uint32_t>(time));
  // The state changes after the call, so the procedure sees the keys held before this event.
  const std::shared_ptr<bool> stillInstalled = alive;
  procedure(HC_ACTION, event.message, event.record);
  if (*stillInstalled) keys.apply(key.vkCode, release);
}

std::unique_ptr<KeyboardHook> KeyboardHook::install(Procedure procedure, QString* error) {
  const QByteArray displayName = qgetenv("DISPLAY");
  if (displayName.isEmpty()) {
    SetError(error, QStringLiteral("No X display is set ($DISPLAY is empty), so global hot keys are not available."));
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->procedure = std::move(procedure);
  state->display.reset(XOpenDisplay(displayName.constData()));
  if (!state->display) {
    SetError(error, QStringLiteral("Cannot connect to the X display \"%1\", so global hot keys are not available.")
                        .arg(QString::fromLocal8Bit(displayName)));
    return nullptr;
  }
  Display* connection = state->display.get();
  state->lossGuard.emplace(connection, &state->connectionLost);

  const std::optional<int> opcode = SelectRawKeyEvents(connection, error);
  if (!opcode) return nullptr;
  state->xinputOpcode = *opcode;
  state->map.emplace(connection);
  state->grabs = GrabAltHotKeys(connection, *state->map);
  WarnRefusedGrabs(state->grabs.refused);
  state->takeKeysHeldNow();

  state->notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(connection), QSocketNotifier::Read);
  State* raw = state.get();
  QObject::connect(state->notifier.get(), &QSocketNotifier::activated, state->notifier.get(),
                   [raw] { raw->readEvents(); });
  // Events Xlib queued while installing never wake the notifier: look once the loop runs.
  QTimer::singleShot(0, state->notifier.get(), [raw] { raw->readEvents(); });
  return std::unique_ptr<KeyboardHook>(new KeyboardHook(std::move(state)));
}

KeyboardHook::KeyboardHook(std::unique_ptr<State> state) : state_(std::move(state)) {}

KeyboardHook::~KeyboardHook() {
  *state_->alive = false;
  state_->notifier.reset();
}

std::uint32_t KeyboardHook::handle() const { return state_->handle; }

std::int16_t KeyboardHook::keyState(std::uint32_t vkCode) const {
  return state_->keys.isDown(vkCode) ? static_cast<std::int16_t>(0x8000) : std::int16_t{0};
}

bool KeyboardHook::connected() const { return !state_->connectionLost; }

// A lost connection was told when it was noticed; it has nothing more to deliver.
void KeyboardHook::deliverPendingKeys() {
  if (!state_->connectionLost) state_->readEvents();
}

}  // namespace platform
