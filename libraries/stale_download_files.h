#pragma once
// At start, the debris of an earlier run that died is removed: the temporary files of atomic
// writes and partial downloads, the private folders of catalogue downloads, and the old entries a
// replacement kept aside (put back when the replacement did not take their place). Only the
// program's own names count (platform/files/own_temporary_names.h), only in the folders the
// program writes into, and only what it writes there:
// - the program folder and the profile folder: any of the program's temporaries;
// - the proposed download folder: a download's private folders and kept entries;
// - the folder of each library in TopicList.ini: the temporaries of the library's own files
//   ("Words.abc", its settings "Words.ini", a download's "Words.*" entries) and a download's
//   private folders, never those of any other name;
// - in each of these folders, an old entry a replacement kept aside, whatever the list says (it is
//   put back, or goes when the new entry holds its name).

// Returns how many files and folders were removed or put back.
int RemoveStaleDownloadFiles();
