// toolbox: the library's settings (prefix Toolbox): the program and user-data folders.
#include "base/toolbox.h"

#include "base/utilil.h"

static char toolboxProgramDir[256];
static char toolboxUserDataDir[256];

void ToolboxSetProgramDir(const char *folder) { StrCopyMaxLen(folder, toolboxProgramDir, 255); }
void ToolboxSetUserDataDir(const char *folder) { StrCopyMaxLen(folder, toolboxUserDataDir, 255); }
const char *ToolboxProgramDir() { return toolboxProgramDir; }
const char *ToolboxUserDataDir() { return toolboxUserDataDir; }
