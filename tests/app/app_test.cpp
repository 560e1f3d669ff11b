// The hooks the top module wires, with the real command table:
// - menus show the commands' names and keys from the shell's table and key map;
// - the command engine reaches the menus (invalidate, remove, in use);
// - a menu selection that reaches the default window procedure shows the command's description, except in
//   help mode, whose prompt stays;
// - a toolbar tooltip reads the command table and the key map;
// - the document core's colours come from the style sheet and the display's colour settings;
// - a source window types through the key map and the dispatcher while the program runs: characters open a
//   typing run, Enter keeps it, and any other command ends it first; the frame's deactivation ends it too.
#include "app/app.h"
#include "app/cmdtab.h"

#include "base/wnd.h"
#include "base/wndtest.h"
#include "display/opts.h"
#include "display/style.h"
#include "doc/dochook.h"
#include "display/sw.h"
#include "doc/docfetch.h"
#include "doc/insert.h"
#include "shell/cmd.h"
#include "shell/help.h"
#include "shell/keymap.h"
#include "shell/framehook.h"
#include "shell/status.h"
#include "shell/vars.h"
#include "support/vxtest.h"
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

TEST_F(AppTest, SourceWindowTypesThroughTheKeyMap) {
    ASSERT_TRUE(ScratchFileCreate());
    char path[256];
    snprintf(path, sizeof path, "%s\\typed.txt", VxTempDir().c_str());
    FileBuffer *doc = DocNew(path);
    ASSERT_NE(doc, nullptr);
    HWND window = SwCreate(nullptr, doc, 0, 0, 300, 200);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, SW_MSG_KEY, 'x', 0);
    EXPECT_FALSE(IsTypingRun()) << "nothing is typed before the program runs";
    g_appRunState = APP_RUNNING;
    for (KeyCode key : {(KeyCode)'a', (KeyCode)'\r', (KeyCode)'b'}) SendMessageA(window, SW_MSG_KEY, key, 0);
    EXPECT_TRUE(IsTypingRun()) << "Enter is a typing command: the run stays open";
    SendMessageA(window, SW_MSG_KEY, KEY_FUNCTION | 0x79, 0); // F10: Indent Right
    EXPECT_FALSE(IsTypingRun());
    static LineRecord line;
    GetLine(doc, 0, &line);
    EXPECT_STREQ(line.text, "a");
    GetLine(doc, 1, &line);
    EXPECT_STREQ(line.text, "\tb");
    SendMessageA(window, SW_MSG_KEY, 'c', 0);
    FrameDoc().endTypingRun();
    EXPECT_FALSE(IsTypingRun()) << "the frame's deactivation";
    g_appRunState = APP_STARTING;
    DestroyWindow(window);
    DocFree(doc, true);
    ScratchFileClose(false);
}

} // namespace

TEST_F(AppTest, DocumentColoursComeFromTheStyleSheet) {
    StyleSheetInstall(StyleSheetBuildDefault(), false);
    StyleProp back = {STYLE_BACK, 0x123456, nullptr}, shadow = {STYLE_SHADOW, 0x654321, nullptr};
    ASSERT_TRUE(StyleSetProperty(StyleCurrent(), 0, &back));
    ASSERT_TRUE(StyleSetProperty(StyleCurrent(), 0, &shadow));
    EXPECT_EQ(DocDisplay().styleDefaultBack(), 0x123456u);
    EXPECT_EQ(DocDisplay().styleDefaultFore(), StyleDefaultFore());
    EXPECT_EQ(DocDisplay().styleBaseColour13(), 0x654321u);
    OptSetColor(OPT_COLOR_PRINT_TEXT, 0x0000FF);
    uint32_t fore = 0, paper = 0;
    DocDisplay().printColours(&fore, &paper);
    EXPECT_EQ(fore, 0x0000FFu);
    EXPECT_EQ(paper, OptColor(OPT_COLOR_PRINT_WINDOW));
    StyleSheetInstall(nullptr, false);
    OptReset();
}
