#pragma once
// The whole main() of an updater program: shows Form2 with the program's run parameters, prints
// the run's result line on standard output and ends when the window has closed after the run,
// with exit status 0 only when the run did all it had to.

#include "maintenance/updater/Form2.h"

int RunUpdaterProgram(int argc, char** argv, Form2::UpdateRunBuilder run);
