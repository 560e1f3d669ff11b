// help: help mode and the program's help (prefix Help). In help mode the next command does not run: the
// dispatcher ends the mode and opens the command's help topic instead. For now this is the mode alone: no
// help engine is wired, so a topic opens nothing.
#pragma once

#include <cstdint>

void HelpModeBegin();
bool HelpModeIsOn();
bool EndHelpMode();                  // leaves help mode: true when it was on
void HelpOnCommand(int32_t command); // the help topic named by the command's name
