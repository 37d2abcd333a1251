#pragma once
// Font faces named by settings files written on other systems ("SimSun", "Arial") are often not
// installed here. A font keeps the face name the settings gave it, so the program reads back and
// stores what the learner chose, while the text is drawn with installed families that cover
// Latin, phonetic symbols and Chinese.

#include <QFont>
#include <QString>
#include <QStringList>

namespace platform {

// The families to render `face` with, in order of preference: the face itself, then installed
// families with Latin and IPA glyphs and with Chinese and Japanese glyphs.
QStringList RenderFamilies(const QString& face);

// A font whose family() is `face` and that renders through RenderFamilies(face), at pointSize
// points.
QFont ResolveFont(const QString& face, double pointSize);

}  // namespace platform
