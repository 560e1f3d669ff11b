// The hooks the top module wires, with the real command table:
// - menus show the commands' names and keys from the shell's table and key map;
// - the command engine reaches the menus (invalidate, remove, in use);
// - a menu selection that reaches the default window procedure shows the command's description, except in
//   help mode, whose prompt stays;
// - a toolbar tooltip reads the command table and the key map.
#include "app/app.h"
#include "app/cmdtab.h"

#include "base/wnd.h"
#include "base/wndtest.h"
#include "shell/cmd.h"
#include "shell/help.h"
#include "shell/keymap.h"
#include "shell/status.h"
#include "ui/menu.h"
#include "ui/toolbar.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return WndDefaultProc(window, message, wParam, lParam);
}

class AppTest : public testing::Test {
protected:
    void SetUp() override {
        CmdTabRegister();
        ASSERT_TRUE(InitCommands(false));
        ASSERT_TRUE(KeyMapReset(0));
        AppWireHooks();
        WtRegisterClass("vxAppTestFrame", FrameProc);
        frame = CreateWindowExA(0, "vxAppTestFrame", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        WndSetAppWindows(frame, nullptr);
        ASSERT_TRUE(MenuInit());
    }
    void TearDown() override {
        MenuClearAll();
        MenuExit();
        WndSetAppWindows(nullptr, nullptr);
        DestroyWindow(frame);
        KeyMap empty = {};
        KeyMapInstall(&empty);
        StatusSetMessage("");
        TermCommands();
        CmdSetTable(nullptr);
    }
    HWND frame = nullptr;
};

TEST_F(AppTest, MenusReachTheShellThroughTheWiredHooks) {
    int32_t open = FindCommandByName("Open...");
    ASSERT_GT(open, 0);
    const int32_t list[] = {open, 0};
    ASSERT_TRUE(MenuAdd("&File", -1, list));
    char text[MENU_TEXT_MAX], key[KEY_NAME_MAX];
    GetMenuStringA(MenuGetHandle(0), 0, text, sizeof text, MF_BYPOSITION);
    ASSERT_NE(KeyForCommand(open), 0);
    KeyCodeName(KeyForCommand(open), key, sizeof key);
    EXPECT_EQ(std::string(text), std::string("&Open...\t") + key);

    CmdMenuInvalidate(open);
    EXPECT_TRUE(MenuGet(0)->flags & MENU_REBUILD);
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(open, 0), (LPARAM)MenuGetHandle(0));
    EXPECT_STREQ(StatusGetMessage(), GetCommandDescription(open));
    HelpModeBegin();
    SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(open, 0), (LPARAM)MenuGetHandle(0));
    EXPECT_STREQ(StatusGetMessage(), "Select the command you want HELP on");
    EndHelpMode();
    CmdMenuRemove(open);
    EXPECT_EQ(MenuItemCount(0), 0);
}

TEST_F(AppTest, ToolbarTipsReadTheCommandTableAndTheKeyMap) {
    ASSERT_TRUE(KeyMapReset(1));
    ASSERT_EQ(KeyToCommand(0x44F), 57); // Ctrl+O runs "Open..."
    char text[TOOLBAR_TIP_MAX];
    ToolbarTipText(57, text, sizeof text);
    EXPECT_STREQ(text, "Open... (Ctrl+O) - opens a file");
}

} // namespace
