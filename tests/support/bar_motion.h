#pragma once
// Telling a stepping word bar from a paused one by what the screen shows: a running bar shows a
// new word within a few seconds, a paused one stays still for two and a half word intervals (the
// tests' libraries step every second). `look` returns a fingerprint of the bar's part of the
// screen (an empty one when no screenshot could be taken).

#include <QByteArray>
#include <QImage>

#include <functional>

namespace testing_support {

// A fingerprint of an image's pixels, for comparing two looks at the same place.
QByteArray ImageFingerprint(const QImage& image);

// True when the bar changes within 4 seconds.
bool BarRuns(const std::function<QByteArray()>& look);

// True when the bar stays unchanged for 2.5 seconds (after a short settling pause).
bool BarStaysStill(const std::function<QByteArray()>& look);

}  // namespace testing_support
