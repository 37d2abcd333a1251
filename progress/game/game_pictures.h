#pragma once
// The artwork of the card game, shipped in the program folder (made by
// scripts/make-game-pictures.sh). A picture that is missing or unreadable is replaced by a plain
// one of the same size, so the game stays playable with a damaged installation.

#include <QImage>

enum class GamePicture { CardBack, CardFace, StartButton, Banner, CloseBox };

QImage LoadGamePicture(GamePicture picture);
