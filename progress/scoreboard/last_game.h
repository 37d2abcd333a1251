#pragma once
// The last card game's result as its window shows it, for the score board.

#include <QString>

QString LastGameTurns();  // the turn count, or empty when no game window is loaded
QString LastGameTime();   // the time "hh:mm:ss", or empty
