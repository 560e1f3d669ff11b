// Native stand-in for the Windows-only toolbox module: only the program and user-data folders, which the
// log and the file layer ask for, and the library command table that the command engine fills.
#include "base/toolbox.h"

#include "base/utilil.h"

#include <cstring>

static int32_t toolboxCommands[TOOLBOX_CMD_SLOTS];
static char toolboxProgramDir[256];
static char toolboxUserDataDir[256];

void ToolboxSetCommands(const int32_t commands[TOOLBOX_CMD_SLOTS]) {
    memcpy(toolboxCommands, commands, sizeof toolboxCommands);
}
int32_t ToolboxCommand(int slot) {
    return slot >= 0 && slot < TOOLBOX_CMD_SLOTS ? toolboxCommands[slot] : 0;
}

void ToolboxSetProgramDir(const char *folder) {
    StrCopyMaxLen(folder, toolboxProgramDir, 255);
}
void ToolboxSetUserDataDir(const char *folder) {
    StrCopyMaxLen(folder, toolboxUserDataDir, 255);
}
const char *ToolboxProgramDir() {
    return toolboxProgramDir;
}
const char *ToolboxUserDataDir() {
    return toolboxUserDataDir;
}
