#pragma once
// At start, the debris of an earlier run that died is removed: the temporary files of atomic
// writes, partial downloads and the private folders of catalogue downloads, by their own name
// pattern only (platform/files/own_temporary_names.h), only in the folders the program writes
// (the program folder, the profile folder, the proposed download folder and the folders of the
// libraries in TopicList.ini), and only when the process that made them no longer runs.

// Returns how many files and folders were removed.
int RemoveStaleDownloadFiles();
