// The hooks the top module wires: a toolbar tooltip reads the real command table and key map through them.
#include "app/app.h"

#include "app/cmdtab.h"
#include "shell/cmd.h"
#include "shell/keymap.h"
#include "ui/toolbar.h"

#include <gtest/gtest.h>

TEST(AppTest, ToolbarTipsReadTheCommandTableAndTheKeyMap) {
    AppWireHooks();
    CmdTabRegister();
    ASSERT_TRUE(InitCommands(false));
    ASSERT_TRUE(KeyMapReset(1));
    ASSERT_EQ(KeyToCommand(0x44F), 57); // Ctrl+O runs "Open..."
    char text[TOOLBAR_TIP_MAX];
    ToolbarTipText(57, text, sizeof text);
    EXPECT_STREQ(text, "Open... (Ctrl+O) - opens a file");
    TermCommands();
    CmdSetTable(nullptr);
    KeyMap empty = {};
    KeyMapInstall(&empty);
}
