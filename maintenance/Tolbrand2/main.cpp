// Tolbrand2: brings the installation's files in its folder up to date from the update list.

#include "maintenance/Tolbrand2/Tolbrand2_run.h"
#include "maintenance/updater/updater_main.h"
#include "platform/app/known_leaks.h"

int main(int argc, char* argv[]) { return RunUpdaterProgram(argc, argv, &Tolbrand2Run); }
