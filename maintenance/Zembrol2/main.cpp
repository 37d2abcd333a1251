// Zembrol2: brings the updater Tolbrand2 in its folder up to date from the update list.

#include "maintenance/Zembrol2/Zembrol2_run.h"
#include "maintenance/updater/updater_main.h"
#include "platform/app/known_leaks.h"

int main(int argc, char* argv[]) { return RunUpdaterProgram(argc, argv, &Zembrol2Run); }
