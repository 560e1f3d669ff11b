// cmdtab: the command table (prefix CmdTab), every row of every subsystem's commands by command index. It
// lives in the program's top module because its rows name the handlers of every subsystem; the command engine
// (shell/cmd.h) reads it once it is handed over.
#pragma once

#include "shell/cmd.h"

extern const CommandRecord cmdTable[CMD_ROW_COUNT];

void CmdTabRegister(); // hands the table to the command engine
