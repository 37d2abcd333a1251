#include "progress/scoreboard/last_game.h"

// Filled in once the card game lands: read from frmCampaignButton's Txt_TurnsValue/Txt_TimeValue.
QString LastGameTurns() { return {}; }
QString LastGameTime() { return {}; }
