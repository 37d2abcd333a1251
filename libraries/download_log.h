#pragma once
// The download log Updatelog2.ini in the program folder: one section per downloaded file, key
// "File" = source name + "->" + target path. Sections are named by the local time in ISO form
// and a sequence number ("2009-03-05T08:07:09_1"), so entries written within one second each keep
// a section of their own. Written by the catalogue download and by the updaters.

#include <QString>

inline constexpr char16_t kDownloadLogFile[] = u"Updatelog2.ini";

// Appends one entry; false when the log could not be written.
bool AppendDownloadLog(const QString& source, const QString& target);
