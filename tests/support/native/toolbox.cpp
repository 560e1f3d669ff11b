// Native stand-in for the Windows-only toolbox module: only the program and user-data folders, which the
// log and the file layer ask for.
#include "base/toolbox.h"

#include "base/utilil.h"

static char toolboxProgramDir[256];
static char toolboxUserDataDir[256];

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
