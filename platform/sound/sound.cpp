#include "platform/sound/sound.h"

#include "platform/files/safe_read.h"
#include "platform/sound/audio_output.h"

#include <QCoreApplication>
#include <QFile>
#include <QtGlobal>

#include <canberra.h>
#include <dlfcn.h>

#include <memory>

namespace platform {

namespace {

struct ContextDestroyer {
  void operator()(ca_context* context) const { ca_context_destroy(context); }
};
using ContextPtr = std::unique_ptr<ca_context, ContextDestroyer>;

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// libcanberra's ALSA backend opens the device for every sound, and without a sound card the ALSA
// library prints several lines to stderr each time. When that library is loaded, its messages
// are dropped; failures still reach us as results. Looked up at run time, so the program does not
// link ALSA itself and other backends are unaffected.
void SilenceAlsaMessages() {
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
  if (alsa == nullptr) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  if (auto* setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
    setHandler(&IgnoreAlsaMessage);
  }
  dlclose(alsa);
}

// The run's one libcanberra context, opened on the first sound. A device that cannot be opened
// is not tried again: the learner hears nothing either way, and each try would cost time.
class EventSoundPlayer {
 public:
  void play(const QString& wavPath) {
    if (!opened_ && !openFailed_) open();
    if (!opened_) return;
    const QByteArray file = QFile::encodeName(wavPath);
    const int result = ca_context_play(context_.get(), 0, CA_PROP_MEDIA_FILENAME, file.constData(), nullptr);
    if (result != CA_SUCCESS) warnOnce(QStringLiteral("cannot play \"%1\": %2").arg(wavPath, reason(result)));
  }

 private:
  void open() {
    // Without a device the sound library fails each sound with "not found", which would read as
    // a fault of the sound file; the learner is told what is missing instead.
    if (!AudioOutputAvailable()) {
      openFailed_ = true;
      warnOnce(QStringLiteral("no sound device was found; event sounds are silent."));
      return;
    }
    ca_context* created = nullptr;
    int result = ca_context_create(&created);
    context_.reset(created);
    if (result == CA_SUCCESS) {
      const QByteArray name = QCoreApplication::applicationName().toUtf8();
      if (!name.isEmpty()) ca_context_change_props(context_.get(), CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
      result = ca_context_open(context_.get());
    }
    if (result != CA_SUCCESS) {
      openFailed_ = true;
      context_.reset();
      warnOnce(QStringLiteral("no sound device: %1").arg(reason(result)));
      return;
    }
    opened_ = true;
    SilenceAlsaMessages();
  }

  static QString reason(int result) { return QString::fromUtf8(ca_strerror(result)); }

  void warnOnce(const QString& text) {
    if (warned_) return;
    warned_ = true;
    qWarning("Event sound: %s", qPrintable(text));
  }

  ContextPtr context_;
  bool opened_ = false;
  bool openFailed_ = false;
  bool warned_ = false;
};

}  // namespace

void PlaySoundAsync(const QString& wavPath) {
  // The sound system opens the file itself: a FIFO or device put in its place would hold it.
  if (!IsRegularFile(wavPath)) return;
  static EventSoundPlayer player;
  player.play(wavPath);
}

}  // namespace platform
