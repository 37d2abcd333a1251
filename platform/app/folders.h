#pragma once
// Where the program's files live: the program folder (beside the running executable) and the
// user's profile folder ($USERPROFILE when set, else $HOME). Both end in "/".

#include <QString>

namespace platform {

QString ProgramFolder();
QString ProfileFolder();

// Tests point the program folder at a fixture folder; an empty text restores the default.
void SetProgramFolder(const QString& folder);

}  // namespace platform
