#include "progress/scoreboard/last_game.h"

#include "progress/game/frmCampaignButton.h"

// The game window keeps its last finished game's result after it resets its counters for the
// next game; without a game window there is no result to post.
QString LastGameTurns() {
  return frmCampaignButton::loaded() ? QString::number(frmCampaignButton::instance().LastTurns) : QString();
}

QString LastGameTime() {
  return frmCampaignButton::loaded() ? frmCampaignButton::instance().LastTime : QString();
}
