#pragma once
// The text handed to espeak-ng for one utterance.

#include "platform/speech/speech_backend.h"

#include <QByteArray>
#include <QString>

namespace platform {

struct EspeakUtterance {
  QByteArray utf8;  // the text, UTF-8
  bool ssml = false;
};

// The text as it stands, spoken with the voice already set.
EspeakUtterance PlainUtterance(const QString& text);

// The text wrapped in an SSML voice element, so that espeak-ng's synthesis thread switches to the
// voice when it reaches this utterance and back afterwards. The text is escaped: markup
// characters in a word are spoken, never read as markup.
EspeakUtterance VoicedUtterance(const QString& text, const VoiceSelection& voice);

}  // namespace platform
