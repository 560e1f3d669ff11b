// toolbox: the library's own settings that the shell hands over at start-up (prefix Toolbox): the command
// indexes that the library's buttons, menus and list keys run, the program and user-data folders, and the
// options that change drawing in a remote (terminal) session.
#pragma once

#include <cstdint>

// Slots of the library command table; 0 in a slot means no command.
enum ToolboxCommandSlot {
    TOOLBOX_CMD_HIDE = 0,
    TOOLBOX_CMD_ROLLUP = 1,
    TOOLBOX_CMD_SEARCH_LIST = 2,
    TOOLBOX_CMD_SEARCH_FORWARD = 3,
    TOOLBOX_CMD_EXPAND_SPECIAL = 4,
    TOOLBOX_CMD_TOOLBAR = 5,
    TOOLBOX_CMD_COPY_LIST = 7,
    TOOLBOX_CMD_ZOOM = 11,
    TOOLBOX_CMD_EXPAND = 12,
    TOOLBOX_CMD_COLLAPSE = 13,
    TOOLBOX_CMD_SHOW_DETAILS = 14,
    TOOLBOX_CMD_TRANSPARENCY = 15,
    TOOLBOX_CMD_HELP = 16,
    TOOLBOX_CMD_SLOTS = 17,
};

void ToolboxSetCommands(const int32_t commands[TOOLBOX_CMD_SLOTS]);
int32_t ToolboxCommand(int slot); // 0 for a slot out of range

void ToolboxSetProgramDir(const char *folder);
void ToolboxSetUserDataDir(const char *folder);
const char *ToolboxProgramDir();  // "" until set
const char *ToolboxUserDataDir(); // "" until set

// The remote-session options, in their registry order; the drawing code reads them in a remote session.
struct ToolboxRemoteOptions {
    int32_t noTransparent;
    int32_t noLogoGraphics;
    int32_t noColorGrad;
    int32_t noAnimation;
    int32_t noThemes;
    int32_t noSmoothScroll;
    int32_t noShadowText;
    int32_t scalePercent;
    int32_t noDblBuffer;
};

const ToolboxRemoteOptions *ToolboxRemote();
void ToolboxExit();
void ToolboxRemoteDefaults();
// The options by their registry names ("RemoteNoTransparent", ...), in registry order, for the settings'
// readers and writers (toolbox_win.h); null past the last.
enum { TOOLBOX_REMOTE_COUNT = 9, TOOLBOX_REMOTE_SCALE = 7 }; // RemoteScalePercent is the eighth
const char *ToolboxRemoteName(int i);
int32_t *ToolboxRemoteValue(int i);
