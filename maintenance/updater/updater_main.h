#pragma once
// The whole main() of an updater program: shows Form2 with the program's run parameters and
// ends when the window has closed after the run.

#include "maintenance/updater/Form2.h"

int RunUpdaterProgram(int argc, char** argv, Form2::UpdateRunBuilder run);
