#pragma once
// The two windows the library manager opens that are built on their own: the web catalogue (the
// Web item) and the dictionary look-up pop-up (Search on a dictionary library). Each is reached
// through one function in a file of its own, which the window's own code fills in.

// Opens the web catalogue modally and returns when it closes. A download that registers libraries
// in TopicList.ini sets g_LibraryAdded and g_CurrentSection, and the manager then lists and
// selects the new library. Returns false while the program has no catalogue (nothing opened).
bool OpenWebCatalogue();

// Shows the dictionary look-up pop-up for the library in g_LibraryPath, g_LibraryFolder,
// g_LibraryFileName and g_LibraryTitle (the manager has set them and hides itself when this
// returns true). Returns false while the program has no pop-up (nothing shown).
bool OpenDictionaryLookup();
