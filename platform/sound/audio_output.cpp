#include "platform/sound/audio_output.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;

bool NonEmptyEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

bool HasSoundServer() {
  if (NonEmptyEnvironment("PULSE_SERVER")) return true;
  if (NonEmptyEnvironment("XDG_RUNTIME_DIR") && Exists(fs::path(std::getenv("XDG_RUNTIME_DIR")) / "pulse" / "native"))
    return true;
  return Exists("/run/pulse/native");  // a system-wide server
}

// ALSA names playback devices pcmC<card>D<device>p.
bool HasAlsaPlaybackDevice() {
  std::error_code error;
  for (fs::directory_iterator it("/dev/snd", error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with("pcmC") && name.ends_with('p')) return true;
  }
  return false;
}

}  // namespace

bool AudioOutputAvailable() { return HasSoundServer() || HasAlsaPlaybackDevice(); }

}  // namespace platform
