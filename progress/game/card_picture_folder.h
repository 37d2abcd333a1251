#pragma once
// The private folder that holds the card pictures of the game being played. Each game gets a new
// folder of its own under the system's temporary folder (readable by this user only); it is
// removed with everything in it when the game ends, and at the latest when the program ends.
// g_TempFolder names it (ending in "/") while it exists and is empty otherwise.

// Removes the folder of an earlier game, if any, and makes a new one. False when no folder could
// be made (g_TempFolder is then empty).
bool CreateCardPictureFolder();

// Removes the current folder and its pictures; does nothing when there is none.
void RemoveCardPictureFolder();
