// toolbox_win: the remote-session options in the program's registry key, as decimal-text numbers.
#include "base/toolbox_win.h"

#include "base/reg.h"
#include "base/toolbox.h"

void ToolboxReadRemoteOptions(HKEY key) {
    *ToolboxRemoteValue(TOOLBOX_REMOTE_SCALE) = 100; // a missing scale means no zoom
    for (int i = 0; i < TOOLBOX_REMOTE_COUNT; i++)
        RegQueryInt(key, ToolboxRemoteName(i), ToolboxRemoteValue(i));
}

void ToolboxWriteRemoteOptions(HKEY key) {
    for (int i = 0; i < TOOLBOX_REMOTE_COUNT; i++)
        RegSetInt(key, ToolboxRemoteName(i), *ToolboxRemoteValue(i));
}

bool ToolboxInit(HKEY key) {
    ToolboxRemoteDefaults();
    ToolboxReadRemoteOptions(key);
    return true;
}
