#pragma once
// Whether this machine has somewhere to play sound.

namespace platform {

// True when a PulseAudio (or PipeWire) server socket or an ALSA playback device exists. Checked
// without opening anything, because opening a missing device makes the sound libraries print
// errors on every attempt.
bool AudioOutputAvailable();

}  // namespace platform
