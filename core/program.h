// Start-up sequence, program arguments and keyboard. Only core/ includes
// this; the exit list every layer may call is in core/exit_list.h.
#pragma once

#include "core/exit_list.h"

extern int ProgramArgc;
extern char **ProgramArgv;

void StartProgram();
void KeyPressed(unsigned char key, int x, int y);
