#pragma once
// Event sounds: a short WAV file played in the background while the program goes on.

#include <QString>

namespace platform {

// Starts playing the WAV file and returns at once. When there is no sound device, or the file is
// missing or unreadable, nothing is heard; the first such failure of the run prints one line on
// stderr (without a device: that no sound device was found), later ones are silent.
void PlaySoundAsync(const QString& wavPath);

}  // namespace platform
