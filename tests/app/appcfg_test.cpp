// The configuration's wiring, with the real command table and menu bar:
// - the default menus name the commands the defaults list, in order, with separators where they stand;
// - the menus section saved from the real bar and loaded back into it;
// - the page setup section: a shorter record of an older file read as far as it goes and checked;
// - the document core reads the option words it needs, and its changes mark the configuration dirty.
#include "app/app.h"
#include "app/appcfg.h"
#include "app/cmdtab.h"

#include "base/wndtest.h"
#include "display/opts.h"
#include "doc/dochook.h"
#include "doc/dta.h"
#include "shell/cfgmenu.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "shell/config.h"
#include "shell/keymap.h"
#include "shell/setting.h"
#include "support/vxtest.h"
#include "ui/menu.h"
#include "ui/printman.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return WndDefaultProc(window, message, wParam, lParam);
}

class AppConfigTest : public testing::Test {
protected:
    void SetUp() override {
        CmdTabRegister();
        ASSERT_TRUE(InitCommands(false));
        AppWireHooks();
        SettingUseTestStore(true);
        WtRegisterClass("vxAppConfigFrame", FrameProc);
        frame = CreateWindowExA(0, "vxAppConfigFrame", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        WndSetAppWindows(frame, nullptr);
        ASSERT_TRUE(MenuInit());
        ConfigSetDefaults();
        ConfigResetState();
        dir = VxTempDir();
        path = dir + "\\GLOBAL.CF3";
    }
    void TearDown() override {
        ConfigSetHooks(nullptr);
        ConfigSetMenuHooks(nullptr);
        ConfigResetOwners();
        DocSetShellHook(nullptr);
        MenuClearAll();
        MenuExit();
        WndSetAppWindows(nullptr, nullptr);
        DestroyWindow(frame);
        KeyMap empty = {};
        KeyMapInstall(&empty);
        DtaTableExit();
        UserCommandsFree();
        ConfigResetState();
        TermCommands();
        CmdSetTable(nullptr);
        VxRemoveTree(dir);
    }
    std::vector<std::string> MenuNames(int32_t menu) {
        std::vector<std::string> names;
        for (int32_t i = 0; i < MenuItemCount(menu); i++) {
            int32_t command = MenuGetItemCmd(menu, i);
            char name[CMD_NAME_MAX];
            GetCommandName(command, name, sizeof name);
            names.push_back(command == -1 ? "-" : name);
        }
        return names;
    }
    HWND frame = nullptr;
    std::string dir, path;
};

std::vector<std::string> Split(const std::string &list) {
    std::vector<std::string> out;
    std::istringstream in(list);
    for (std::string item; std::getline(in, item, ',');)
        out.push_back(item.substr(item.find_first_not_of(' ')));
    return out;
}

TEST_F(AppConfigTest, DefaultMenusNameTheirCommands) {
    const char *const menus[] = {
        "New, Open..., Load File..., Browse Files..., New Clip..., Recent Files, -, Close, Close All, Reload "
        "File, "
        "Restore File, Rename..., Delete File..., Reload Modified Files, -, Save, Save As..., Save All, "
        "Save A Copy..., Save Selection..., -, Load Workspace..., Save Workspace..., -, Print..., Page "
        "Setup..., "
        "-, Exit",
        "Undo, Redo, Undo All, Redo All, -, Cut, Copy, Paste, Duplicate, -, Cut To Clip..., Copy To Clip..., "
        "Paste From Clip..., -, Insert File..., Renumber..., Smart Rename..., -, Select All, "
        "Select Function or Symbol, Select Block, Special Edit, -, Start Recording, Stop Recording, Play "
        "Recording",
        "Search..., Search Files..., Search Project..., Lookup References..., Search Forward, Search "
        "Backward, -, "
        "Replace..., Replace Files..., -, Bookmark..., Selection History..., Go To Line..., -, Go Back, "
        "Go Forward, -, Jump To Link, Go To Previous Link, Go To Next Link, Parse Source Links..., -, "
        "Browse Project Symbols..., Browse Local File Symbols..., Jump To Definition",
        "New Project..., Open Project..., Close Project, Remove Project..., -, Add and Remove Project "
        "Files..., "
        "Synchronize Files..., -, Project Report..., Rebuild Project..., -, Project Settings...",
        "Preferences..., -, Document Options..., Style Properties..., -, Key Assignments..., Menu "
        "Assignments..., "
        "Custom Commands..., -, Load Configuration..., Save Configuration...",
        "Toolbars, Status Bar, Horizontal Scroll Bar, Line Numbers, -, Project Window, Clip Window, "
        "Symbol Window, Context Window, Relation Window, -, Show Clipboard, Draft View",
        "New Window, Close Window, -, Cascade Windows, Tile Horizontal, Tile Vertical, Tile One Window, "
        "Tile Two Windows, -, Link Window..., Link All Windows, Window List..., -",
        "Help..., Help Mode, HTML Help..., SDK Help..., Create Key List, Create Command List, -, "
        "Tramontel on the Web, About Veltrix...",
    };
    ASSERT_TRUE(ConfigDefaultMenus());
    ASSERT_EQ(MenuCount(), 8);
    for (int32_t m = 0; m < 8; m++) {
        EXPECT_EQ(MenuNames(m), Split(menus[m])) << ConfigMenuName(m);
        EXPECT_STREQ(MenuGet(m)->name, ConfigMenuTitle(m));
    }
}

TEST_F(AppConfigTest, MenusSectionThroughTheRealBar) {
    int32_t mine = GetUserCommandId("MyTool");
    const int32_t file[] = {57, -1, mine, 0};
    ASSERT_TRUE(ConfigDefaultMenus());
    MenuSetItems(0, file, 3);
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_MENUS));
    MenuClearAll();
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_MENUS));
    ASSERT_EQ(MenuCount(), 8);
    EXPECT_EQ(MenuNames(0), (std::vector<std::string>{"Open...", "-", "MyTool"}));
    EXPECT_EQ(MenuItemCount(7), 9);
}

TEST_F(AppConfigTest, PageSetupOfAnOlderFile) {
    EXPECT_EQ(AppPrintSetup()->columns, 1) << "the defaults";
    ASSERT_TRUE(ConfigSave(path.c_str(), false, CONFIG_PRINTER));
    FILE *f = VxFileOpen(path, "rb");
    ASSERT_NE(f, nullptr);
    std::string bytes(CONFIG_HEADER_SIZE + 216, '\0');
    ASSERT_EQ(fread(&bytes[0], 1, bytes.size(), f), bytes.size());
    fclose(f);
    // A 30-byte record: flags, margins and a column count of 0.
    uint32_t size = 30;
    memcpy(&bytes[CONFIG_TABLE_OFFSET + 8 * CONFIG_SLOT_PRINTER + 4], &size, 4);
    memset(&bytes[CONFIG_HEADER_SIZE + 20], 0, 4);
    bytes[CONFIG_HEADER_SIZE + 24] = 'X';
    bytes.resize(CONFIG_HEADER_SIZE + size);
    f = VxFileOpen(path, "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    ASSERT_TRUE(ConfigLoadMasked(path.c_str(), CONFIG_PRINTER));
    EXPECT_EQ(AppPrintSetup()->columns, 1) << "at least one column";
    EXPECT_STREQ(AppPrintSetup()->header, "XF") << "the header as far as the record went";
    EXPECT_STREQ(AppPrintSetup()->footer, "");
}

TEST_F(AppConfigTest, DocumentCoreReadsTheOptionWords) {
    g_lineEndFormat = OPT_LINE_END_LF;
    g_options2 |= OPT2_MAKE_BACKUPS | OPT2_TRIM_ON_SAVE;
    g_backupDays = 33;
    EXPECT_EQ(DocOpt().eolDefault, 2u);
    EXPECT_TRUE(DocOpt().makeBackups);
    EXPECT_TRUE(DocOpt().trimOnSave);
    EXPECT_EQ(DocOpt().purgeDays, 33);
    g_options2 &= ~OPT2_MAKE_BACKUPS;
    EXPECT_FALSE(DocOpt().makeBackups);
    ClearConfigDirty();
    DocShell().setConfigDirty(0);
    EXPECT_TRUE(ConfigIsDirty());
}

} // namespace
