#pragma once
// The dictionary look-up of the pop-up: the meaning of a word in a library's dictionary files, or
// in the library file itself when it has none.
//
// A library may have a dictionary folder beside it, named after the library with ".dic"
// ("Words.dic" beside "Words.abc"), holding numbered dictionary files "Words_1.dic",
// "Words_2.dic" ... Each is an INI file read through the core's Unicode reader; its section "ALL"
// maps a word (the key) to its meaning (the value). The files are tried from number 1 up to the
// count of files of any name in the folder, and the first that holds the word decides. A library
// without such a folder is read the same way, section "ALL" of the library file.
//
// A selection is looked up whole first, since keys may hold punctuation ("e.g.", "U.S.", "C++"),
// and only when no file holds it, its first word without the punctuation around it.

#include <QString>

// The meaning shown for a word that no file holds (or holds with an empty meaning).
inline const QString kMeaningNotFound = QStringLiteral("<Not Found>");

// True when the path names an existing folder.
bool DirExists(const QString& DirName);

// The number of files of any name in the folder (subfolders not counted; hidden files counted);
// 0 for a folder that does not exist or cannot be read.
int GetFileCount(const QString& strFolder);

// libraryFolder + libraryName + ".dic" (the folder ends with its separator).
QString DictionaryFolder(const QString& libraryFolder, const QString& libraryName);

// The meaning of `word` for the library `libraryName` ("Words") in `libraryFolder` (ending with
// its separator), or kMeaningNotFound. The meaning comes whole, however long.
QString LookUpMeaning(const QString& libraryFolder, const QString& libraryName, const QString& word);

// What the pop-up shows for a selected text: the key it found (or, when none, the first word) and
// its meaning (kMeaningNotFound when none). The selection is taken whole without the blanks
// around it, and only when it is no longer than a captured word (platform::kMaxCapturedWordLength).
struct SelectionMeaning {
  QString word;
  QString meaning;
};
SelectionMeaning LookUpSelection(const QString& libraryFolder, const QString& libraryName, const QString& selection);
