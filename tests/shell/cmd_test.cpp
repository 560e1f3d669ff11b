// The command engine over a table of stub rows:
// - reading any index: the separator, unknown and negative indexes, ids past the user table, empty slots and
//   entries whose row is no row, with their texts cut to the caller's buffer;
// - texts: dynamic texts asked only where allowed, the run-by-name entry's own name, the menu form;
// - the enable test of the masks against state bits;
// - lookup by name: case and trailing dots, the earlier row, class and handler filters, the old names, a
//   custom command first, the HTML export rows hidden by InitCommands;
// - the pending stack and its bound, commands in use, key arguments, submenu handlers, the library's slots.
#include "cmdtest.h"

#include "base/toolbox.h"
#include "base/utilil.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "shell/keymap.h"
#include "support/vxtest.h"

#include <cstring>
#include <string>

namespace {

std::string Name(int32_t command, int size = CMD_NAME_MAX) {
    char text[CMD_NAME_MAX];
    GetCommandName(command, text, size);
    return text;
}

std::string MenuName(int32_t command) {
    CommandView view;
    char text[CMD_NAME_MAX];
    GetCommandInfoEx(command, &view, text, sizeof text, true);
    return text;
}

int32_t AddUser(int32_t command, intptr_t argument, const char *name) {
    UserCommand entry = {command, argument, name};
    return UserCommandAdd(&entry);
}

TEST_F(CmdTest, AnyIndexReadsARowThatExists) {
    Row(90, "Cut", CMD_GROUP_EDIT);
    Install();
    int32_t used = AddUser(90, 7, "");
    int32_t cleared = AddUser(90, 8, "");
    UserCommandRemove(cleared);
    struct Case {
        int32_t command;
        int32_t row;
        const char *text;
    } cases[] = {
        {-1, CMD_SEPARATOR, "---Menu Separator---"},
        {90, 90, "Cut"},
        {683, CMD_UNIMPLEMENTED, "Unimplemented Command"},
        {900, CMD_UNIMPLEMENTED, "Unimplemented Command"},
        {1999, CMD_UNIMPLEMENTED, "Unimplemented Command"},
        {-7, CMD_UNIMPLEMENTED, "Unimplemented Command"},
        {INT32_MIN, CMD_UNIMPLEMENTED, "Unimplemented Command"},
        {4500, CMD_UNIMPLEMENTED, "Unimplemented Command"},
        {used, 90, "Cut"},
        {cleared, 0, ""},                                          // an empty slot reads as row 0
        {cleared + 1, CMD_UNIMPLEMENTED, "Unimplemented Command"}, // past the table's slots
        {CMD_USER_LAST, CMD_UNIMPLEMENTED, "Unimplemented Command"},
    };
    for (const Case &c : cases) {
        CommandView view;
        char text[CMD_NAME_MAX];
        GetCommandInfo(c.command, &view, text, sizeof text);
        EXPECT_EQ(view.command, c.row) << c.command;
        EXPECT_STREQ(text, c.text) << c.command;
    }
    EXPECT_STREQ(GetCommandDescription(-1), "Separates items on menus.");
    EXPECT_STREQ(GetCommandDescription(900), "Undefined command; possibly from a newer version of Veltrix.");
}

TEST_F(CmdTest, WithoutATableEveryCommandIsEmpty) {
    CommandView view;
    char text[8] = "x";
    GetCommandInfo(57, &view, text, sizeof text);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(view.handler, nullptr);
    EXPECT_EQ(FindCommandByName("Open"), 0);
}

TEST_F(CmdTest, UserCommandsReadTheirRowWithTheirArgument) {
    Row(114, "").flags = CMD_FLAG_DIRECT;
    rows[114].disableMask = 0x40;
    rows[114].enableMask = 0x1;
    Install();
    int32_t id = AddUser(114, (intptr_t)&rows, "");
    CommandView view;
    GetCommandInfo(id, &view, nullptr, 0);
    EXPECT_EQ(view.command, 114);
    EXPECT_EQ(view.argument, (intptr_t)&rows);
    EXPECT_EQ(view.handler, &CmdTestHandler);
    EXPECT_EQ(view.flags & CMD_FLAG_DIRECT, 0u) << "a user command always asks for its dynamic text";
    uint32_t disable, enable;
    GetCommandMasks(id, &disable, &enable);
    EXPECT_EQ(disable, 0x40u);
    EXPECT_EQ(enable, 0x1u);
    GetCommandInfo(114, &view, nullptr, 0);
    EXPECT_EQ(view.argument, 0);
}

// The dynamic text hook: asked for rows without the direct flag and for every user command.
std::vector<int32_t> askedRows;
bool DynamicText(int32_t row, intptr_t argument, char *text, int size) {
    askedRows.push_back(row);
    if (row != 114) return false;
    snprintf(text, size, "Window %d", (int)argument);
    return true;
}

TEST_F(CmdTest, DynamicTextsComeFirstWhereTheRowAllowsThem) {
    Row(67, "Project Settings...", CMD_GROUP_OPTIONS);
    Row(114, "").flags = CMD_FLAG_DIRECT;
    Row(32, "").flags = CMD_FLAG_DIRECT;
    Row(503, "").flags = CMD_FLAG_DIRECT;
    Install();
    CmdHooks hooks = {};
    hooks.dynamicText = DynamicText;
    CmdSetHooks(&hooks);
    askedRows.clear();
    int32_t window = AddUser(114, 3, "");
    int32_t recent = AddUser(503, 1, "old entry name");
    int32_t byName = GetUserCommandId("Build It");
    EXPECT_EQ(Name(window), "Window 3");
    EXPECT_EQ(Name(114), "") << "a direct row is never asked";
    EXPECT_EQ(Name(67), "Project Settings...") << "the hook declined: the row's own name";
    EXPECT_EQ(Name(recent), "old entry name") << "an empty row name falls back to the entry's name";
    EXPECT_EQ(Name(byName), "Build It");
    EXPECT_EQ(askedRows, (std::vector<int32_t>{114, 67, 503})) << "run-by-name entries are not asked";
}

TEST_F(CmdTest, MenuFormPrefixesTheGroup) {
    Row(90, "Cut", CMD_GROUP_EDIT);
    Row(24, "Exit", CMD_GROUP_NONE);
    Row(31, "Click", CMD_GROUP_ALL);
    Row(289, "Project Window", CMD_GROUP_VIEW);
    Install();
    EXPECT_EQ(MenuName(90), "Edit: Cut");
    EXPECT_EQ(MenuName(24), "Exit");
    EXPECT_EQ(MenuName(31), "Click");
    EXPECT_EQ(MenuName(289), "View: Project Window");
    EXPECT_EQ(Name(90), "Cut");
}

TEST_F(CmdTest, TextsAreCutToTheBuffer) {
    Row(90, "Cut", CMD_GROUP_EDIT);
    Install();
    std::string longName(255, 'n');
    int32_t id = GetUserCommandId(longName.c_str());
    ASSERT_NE(id, 0);
    char text[80];
    memset(text, '#', sizeof text);
    GetCommandName(id, text, 64);
    EXPECT_EQ(strlen(text), 63u);
    EXPECT_EQ(std::string(text + 64, 16), std::string(16, '#')) << "nothing written past the size";
    CommandView view;
    memset(text, '#', sizeof text);
    GetCommandInfoEx(90, &view, text, 7, true);
    EXPECT_STREQ(text, "Edit: ");
    EXPECT_EQ(text[7], '#');
    GetCommandInfo(90, &view, text, 0); // no room at all: nothing written
    EXPECT_EQ(text[0], 'E');
}

TEST_F(CmdTest, EnableTest) {
    struct Case {
        uint32_t disable, enable, state;
        bool enabled;
    } cases[] = {
        {0x40, 0x1, 0x4, false},  // no file open
        {0x40, 0x1, 0x1, true},   //
        {0x40, 0x1, 0x41, false}, // resources low
        {0x40, 0x0, 0x4, true},   // no enable mask: only the disable mask counts
        {0x44, 0x20, 0x21, true}, // any one enable bit will do
        {0, 0x100, 0x1, false},   {0, 0, 0xFFFFFFFF, true},
    };
    for (const Case &c : cases) {
        CommandView view = {};
        view.disableMask = c.disable;
        view.enableMask = c.enable;
        EXPECT_EQ(IsCommandEnabled(&view, c.state), c.enabled)
            << std::hex << c.disable << " " << c.enable << " under " << c.state;
    }
}

TEST_F(CmdTest, LookupIgnoresCaseAndTrailingDotsAndTakesTheEarlierRow) {
    Row(57, "Open...", CMD_GROUP_FILE);
    Row(90, "Cut", CMD_GROUP_EDIT);
    Row(200, "cut.", CMD_GROUP_EDIT);
    Row(346, "Open All", CMD_GROUP_NONE, CMD_CLASS_LIST_WINDOW);
    Row(140, "MINIMIZEWND", CMD_GROUP_MACRO, CMD_CLASS_MACRO);
    Row(50, "Silent").handler = nullptr;
    Install();
    struct Case {
        const char *name;
        int32_t found;
    } cases[] = {
        {"open", 57}, {"Open...", 57}, {"OPEN.", 57},      {"Cut", 90}, {"CUT...", 90}, {"Open All", 0},
        {"Ope", 0},   {"", 0},         {"MINIMIZEWND", 0}, {"...", 0},  {"Silent", 0},
    };
    for (const Case &c : cases) EXPECT_EQ(FindCommandByName(c.name), c.found) << c.name;
}

TEST_F(CmdTest, OldNamesReachOnlyGlobalRowsWithAHandler) {
    Row(67, "Project Settings...", CMD_GROUP_OPTIONS);
    Row(267, "STRTRUNC", CMD_GROUP_MACRO, CMD_CLASS_MACRO);
    Row(295, "Lookup References...", CMD_GROUP_SYMBOL).handler = nullptr;
    Install();
    EXPECT_EQ(FindCommandByName("Project Options"), 67);
    EXPECT_EQ(FindCommandByName("project options"), 67);
    EXPECT_EQ(FindCommandByName("STR_TRUNC"), 0) << "a macro function";
    EXPECT_EQ(FindCommandByName("Look Up References"), 0) << "a row without handler";
}

// A custom command list of one entry, "Save", found ignoring case.
bool FindCustomSave(const char *name, char *stored, int size) {
    if (!StrEqualI(name, "save")) return false;
    snprintf(stored, size, "Save");
    return true;
}

TEST_F(CmdTest, ACustomCommandWinsOverARowOfTheSameName) {
    Row(59, "Save", CMD_GROUP_FILE);
    Install();
    EXPECT_EQ(FindCommandByName("save"), 59);
    CmdHooks hooks = {};
    hooks.findCustomCommand = FindCustomSave;
    CmdSetHooks(&hooks);
    int32_t id = FindCommandByName("save");
    EXPECT_GE(id, CMD_USER_FIRST);
    EXPECT_EQ(id, FindUserCommandByName("Save")) << "the custom command's stored name";
    EXPECT_EQ(FindCommandByName("SAVE"), id) << "one entry serves every spelling";
}

TEST_F(CmdTest, HtmlExportRowsAreHiddenUnlessExportIsOn) {
    Row(681, "Export Project to HTML...", CMD_GROUP_PROJECT);
    Row(682, "Save to HTML", CMD_GROUP_FILE);
    Install(false);
    CommandView view;
    GetCommandInfo(682, &view, nullptr, 0);
    EXPECT_EQ(view.commandClass, CMD_CLASS_HIDDEN);
    EXPECT_EQ(view.handler, &CmdTestHandler) << "its index still runs it";
    EXPECT_EQ(FindCommandByName("Save to HTML"), 0);
    EXPECT_EQ(FindCommandByName("Export Project to HTML"), 0);
    EXPECT_EQ(rows[682].commandClass, CMD_CLASS_GLOBAL) << "the table itself is never written";
    ASSERT_TRUE(InitCommands(true));
    EXPECT_EQ(FindCommandByName("Save to HTML"), 682);
}

bool macroHandlesReset;

TEST_F(CmdTest, InitCommandsHandsOverTheLibrarySlotsAndResetsMacroHandles) {
    CmdHooks hooks = {};
    hooks.resetMacroHandles = [] { macroHandlesReset = true; };
    CmdSetHooks(&hooks);
    macroHandlesReset = false;
    Install();
    EXPECT_TRUE(macroHandlesReset);
    const int32_t expected[TOOLBOX_CMD_SLOTS] = {321, 332, 368, 42,  451, 457, 0,   496, 0,
                                                 0,   0,   155, 480, 481, 478, 513, 33};
    for (int slot = 0; slot < TOOLBOX_CMD_SLOTS; slot++)
        EXPECT_EQ(ToolboxCommand(slot), expected[slot]) << slot;
}

TEST_F(CmdTest, PendingStackHoldsTwentyNewestFirst) {
    for (int32_t i = 1; i <= CMD_PENDING_MAX; i++) EXPECT_EQ(PushPendingCommand(100 + i), i);
    EXPECT_EQ(PushPendingCommand(999), 0) << "the 21st is dropped";
    int32_t command;
    ASSERT_TRUE(PopPendingCommand(&command));
    EXPECT_EQ(command, 120);
    ClearPendingCommands();
    EXPECT_FALSE(PopPendingCommand(&command));
}

TEST_F(CmdTest, CommandsInUseAndKeyArguments) {
    Row(90, "Cut");
    Row(114, "");
    Install();
    CmdHooks hooks = {};
    hooks.menuHolds = [](int32_t command) { return command == 91; };
    CmdSetHooks(&hooks);
    EXPECT_FALSE(IsCommandInUse(90));
    PushPendingCommand(90);
    EXPECT_TRUE(IsCommandInUse(90));
    ClearPendingCommands();
    EXPECT_TRUE(IsCommandInUse(91)) << "on a menu";
    ASSERT_TRUE(KeyMapAdd(92, KEY_CTRL | 'Q'));
    EXPECT_TRUE(IsCommandInUse(92)) << "on a key";

    int32_t first = AddUser(114, 1, ""), second = AddUser(114, 2, "");
    ASSERT_TRUE(KeyMapAdd(second, KEY_ALT | '2'));
    EXPECT_TRUE(IsKeyArgumentAssigned(114, 2));
    EXPECT_FALSE(IsKeyArgumentAssigned(114, 1));
    EXPECT_FALSE(IsKeyArgumentAssigned(503, 2));
    EXPECT_NE(first, 0);
}

const int32_t recentList[] = {2000, 2001, 0};

TEST_F(CmdTest, SubmenuHandlersHandOverTheirList) {
    Row(504, "Recent Files").flags = CMD_FLAG_SUBMENU;
    rows[504].handler = [](int32_t) {
        CmdSetSubmenu(recentList);
        return 0;
    };
    Row(90, "Cut");
    Install();
    EXPECT_EQ(CallSubmenuHandler(504), recentList);
    EXPECT_EQ(CallSubmenuHandler(90), nullptr);
    EXPECT_TRUE(cmdTestCalls.empty()) << "a plain row's handler is not called";
}

TEST_F(CmdTest, TheEngineOwnRows) {
    VxAlertsReset();
    EXPECT_EQ(CmdUnavailable(900), 0);
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Command not available.");
    EXPECT_EQ(CmdRollupWindow(332), 0);
    EXPECT_EQ(VxAlerts().size(), 1u);
}

} // namespace
