#include "platform/speech/espeak_utterance.h"

namespace platform {

EspeakUtterance PlainUtterance(const QString& text) { return {text.toUtf8(), false}; }

EspeakUtterance VoicedUtterance(const QString& text, const VoiceSelection& voice) {
  const QString attribute = voice.name.isEmpty()
                                ? QStringLiteral("xml:lang=\"") + voice.language.toHtmlEscaped() + u'"'
                                : QStringLiteral("name=\"") + voice.name.toHtmlEscaped() + u'"';
  const QString ssml = QStringLiteral("<voice ") + attribute + u'>' + text.toHtmlEscaped() + QStringLiteral("</voice>");
  return {ssml.toUtf8(), true};
}

}  // namespace platform
