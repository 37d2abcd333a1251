#pragma once
// Opening the word bar on the library the globals name (g_LibraryPath and its parts), for the
// start-up and the library manager alike.

// Takes the library's lock and shows the bar on it; the bar stays hidden while WordShowMain is
// off and its tray icon shows. When another running bar holds the library, a message in the
// interface language says so and nothing is opened; returns false then. So too when the library
// path names a folder, a FIFO or a device (the message names the path and what it is), and when
// the library is refused at its load (more lines or groups than a library holds).
bool OpenLibraryBar();
