// toolbox: the library's settings (prefix Toolbox): the 17 library command indexes, the program and user-data
// folders, and the nine remote-session options with their registry names and defaults.
#include "base/toolbox.h"

#include "base/utilil.h"

#include <cstddef>
#include <cstring>

static int32_t toolboxCommands[TOOLBOX_CMD_SLOTS];
static char toolboxProgramDir[256];
static char toolboxUserDataDir[256];
static ToolboxRemoteOptions toolboxRemote;

struct ToolboxRemoteRow {
    const char *name;
    size_t offset;
    int32_t defaultValue;
};

static const ToolboxRemoteRow toolboxRemoteRows[] = {
    {"RemoteNoTransparent", offsetof(ToolboxRemoteOptions, noTransparent), 1},
    {"RemoteNoLogoGraphics", offsetof(ToolboxRemoteOptions, noLogoGraphics), 1},
    {"RemoteNoColorGrad", offsetof(ToolboxRemoteOptions, noColorGrad), 0},
    {"RemoteNoAnimation", offsetof(ToolboxRemoteOptions, noAnimation), 1},
    {"RemoteNoThemes", offsetof(ToolboxRemoteOptions, noThemes), 0},
    {"RemoteNoSmoothScroll", offsetof(ToolboxRemoteOptions, noSmoothScroll), 1},
    {"RemoteNoShadowText", offsetof(ToolboxRemoteOptions, noShadowText), 0},
    {"RemoteScalePercent", offsetof(ToolboxRemoteOptions, scalePercent), 100},
    {"RemoteNoDblBuffer", offsetof(ToolboxRemoteOptions, noDblBuffer), 1},
};

static int32_t *ToolboxRemoteField(const ToolboxRemoteRow &row) {
    return (int32_t *)((char *)&toolboxRemote + row.offset);
}

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

const ToolboxRemoteOptions *ToolboxRemote() {
    return &toolboxRemote;
}

void ToolboxRemoteDefaults() {
    for (const ToolboxRemoteRow &row : toolboxRemoteRows) *ToolboxRemoteField(row) = row.defaultValue;
}

static_assert(sizeof toolboxRemoteRows / sizeof toolboxRemoteRows[0] == TOOLBOX_REMOTE_COUNT);

const char *ToolboxRemoteName(int i) {
    return i >= 0 && i < TOOLBOX_REMOTE_COUNT ? toolboxRemoteRows[i].name : nullptr;
}

int32_t *ToolboxRemoteValue(int i) {
    return i >= 0 && i < TOOLBOX_REMOTE_COUNT ? ToolboxRemoteField(toolboxRemoteRows[i]) : nullptr;
}

void ToolboxExit() {}
