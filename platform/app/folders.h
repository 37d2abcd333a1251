#pragma once
// Where the program's files live: the program folder (beside the running executable) and the
// user's profile folder ($USERPROFILE when set, else $HOME). Both end in "/".

#include <QString>

namespace platform {

QString ProgramFolder();
QString ProfileFolder();
// The program's folder for files it can make again (composed pictures) when the program folder
// is not writable: $XDG_CACHE_HOME/CorvelsLexorn2/, else .cache/CorvelsLexorn2/ in the profile
// folder. Not created here.
QString UserCacheFolder();

// Tests point the program folder at a fixture folder; an empty text restores the default.
void SetProgramFolder(const QString& folder);

}  // namespace platform
