// help: help mode (prefix Help), a flag that the dispatcher tests before every command.
#include "shell/help.h"

static bool helpModeOn;

void HelpModeBegin() {
    helpModeOn = true;
}

bool HelpModeIsOn() {
    return helpModeOn;
}

bool EndHelpMode() {
    bool wasOn = helpModeOn;
    helpModeOn = false;
    return wasOn;
}

void HelpOnCommand(int32_t) {}
