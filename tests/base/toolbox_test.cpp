// The library's settings: the command table (a copy, slots out of range give 0), the program and user-data
// folders cut at 255 characters, and the remote-session options' defaults and registry names in their order.
#include "base/toolbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Toolbox, CommandTableAndFolders) {
    int32_t commands[TOOLBOX_CMD_SLOTS];
    for (int i = 0; i < TOOLBOX_CMD_SLOTS; i++) commands[i] = 300 + i;
    ToolboxSetCommands(commands);
    commands[TOOLBOX_CMD_HIDE] = 0; // the table is a copy
    EXPECT_EQ(ToolboxCommand(TOOLBOX_CMD_HIDE), 300);
    EXPECT_EQ(ToolboxCommand(TOOLBOX_CMD_HELP), 316);
    EXPECT_EQ(ToolboxCommand(-1), 0);
    EXPECT_EQ(ToolboxCommand(TOOLBOX_CMD_SLOTS), 0);

    std::string longFolder(300, 'f');
    ToolboxSetProgramDir(longFolder.c_str());
    EXPECT_EQ(strlen(ToolboxProgramDir()), 255u);
    ToolboxSetUserDataDir("C:\\Data");
    EXPECT_STREQ(ToolboxUserDataDir(), "C:\\Data");
    ToolboxSetProgramDir("");
    ToolboxSetUserDataDir("");
}

TEST(Toolbox, RemoteOptionsInRegistryOrder) {
    const char *names[] = {"RemoteNoTransparent", "RemoteNoLogoGraphics", "RemoteNoColorGrad",
                           "RemoteNoAnimation",   "RemoteNoThemes",       "RemoteNoSmoothScroll",
                           "RemoteNoShadowText",  "RemoteScalePercent",   "RemoteNoDblBuffer"};
    const int32_t ToolboxRemoteOptions::*fields[] = {
        &ToolboxRemoteOptions::noTransparent, &ToolboxRemoteOptions::noLogoGraphics,
        &ToolboxRemoteOptions::noColorGrad,   &ToolboxRemoteOptions::noAnimation,
        &ToolboxRemoteOptions::noThemes,      &ToolboxRemoteOptions::noSmoothScroll,
        &ToolboxRemoteOptions::noShadowText,  &ToolboxRemoteOptions::scalePercent,
        &ToolboxRemoteOptions::noDblBuffer};
    const int32_t defaults[] = {1, 1, 0, 1, 0, 1, 0, 100, 1};
    ToolboxRemoteDefaults();
    const ToolboxRemoteOptions *o = ToolboxRemote();
    for (int i = 0; i < TOOLBOX_REMOTE_COUNT; i++) {
        EXPECT_STREQ(ToolboxRemoteName(i), names[i]) << i;
        EXPECT_EQ(ToolboxRemoteValue(i), &(o->*fields[i])) << names[i] << ": the value is the option itself";
        EXPECT_EQ(o->*fields[i], defaults[i]) << names[i];
    }
    EXPECT_STREQ(ToolboxRemoteName(TOOLBOX_REMOTE_SCALE), "RemoteScalePercent");
    for (int past : {-1, (int)TOOLBOX_REMOTE_COUNT}) {
        EXPECT_EQ(ToolboxRemoteName(past), nullptr) << past;
        EXPECT_EQ(ToolboxRemoteValue(past), nullptr) << past;
    }
}
