// The command table of the program:
// - its shape: 683 rows, valid groups and classes, no reserved word, names and handlers where the rows need
//   them, the direct flag on the unnamed rows, the submenu rows, the masks of a sample of rows;
// - lookup by name against the real rows: "open" and "Open...", an old name, a macro function's old name,
//   the first of two rows of one name, the HTML export rows hidden without "HTMLExport" while index 682
//   still runs;
// - the texts of a sample of rows, in menu form too;
// - the engine's own rows in the table: 370 (and the commands not built yet), 109 and 332;
// - the rows of help and the About window with their handlers.
#include "app/cmdtab.h"

#include "shell/about.h"
#include "shell/cmd.h"
#include "shell/cmdrun.h"
#include "shell/cmduser.h"
#include "shell/help.h"
#include "support/vxtest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class CmdTabTest : public testing::Test {
protected:
    void SetUp() override {
        CmdTabRegister();
        ASSERT_TRUE(InitCommands(false));
        VxAlertsReset();
    }
    void TearDown() override {
        TermCommands();
        CmdSetTable(nullptr);
    }
};

std::string Name(int32_t command, bool menuForm = false) {
    CommandView view;
    char text[CMD_NAME_MAX];
    GetCommandInfoEx(command, &view, text, sizeof text, menuForm);
    return text;
}

TEST_F(CmdTabTest, Shape) {
    int named = 0, submenus = 0;
    for (int32_t row = 0; row < CMD_ROW_COUNT; row++) {
        const CommandRecord &r = cmdTable[row];
        EXPECT_GE(r.group, 0) << row;
        EXPECT_LT(r.group, CMD_GROUP_COUNT) << row;
        EXPECT_TRUE(r.commandClass <= CMD_CLASS_RELATION_WINDOW && r.commandClass >= 0) << row;
        EXPECT_EQ(r.reserved, 0) << row;
        ASSERT_NE(r.name, nullptr) << row;
        ASSERT_NE(r.description, nullptr) << row;
        bool unnamed = r.name[0] == 0;
        if (r.commandClass == CMD_CLASS_GLOBAL) {
            EXPECT_EQ(unnamed, (r.flags & CMD_FLAG_DIRECT) != 0) << row;
        }
        if (r.flags & CMD_FLAG_SUBMENU) submenus++;
        if (r.commandClass == CMD_CLASS_GLOBAL && !unnamed) {
            named++;
            EXPECT_TRUE(r.handler || (r.flags & CMD_FLAG_SUBMENU)) << row << " " << r.name;
            EXPECT_NE(r.description[0], 0) << row << " " << r.name;
        }
    }
    EXPECT_EQ(submenus, 4);
    EXPECT_EQ(named, 338);
}

TEST_F(CmdTabTest, RowsByNumber) {
    struct Case {
        int32_t row;
        const char *name;
        int32_t group;
        int32_t commandClass;
    } cases[] = {
        {1, "Open Last", CMD_GROUP_FILE, CMD_CLASS_GLOBAL},
        {24, "Exit", CMD_GROUP_APPLICATION, CMD_CLASS_GLOBAL},
        {57, "Open...", CMD_GROUP_FILE, CMD_CLASS_GLOBAL},
        {90, "Cut", CMD_GROUP_EDIT, CMD_CLASS_GLOBAL},
        {135, "", CMD_GROUP_PROJECT, CMD_CLASS_GLOBAL},
        {140, "MINIMIZEWND", CMD_GROUP_MACRO, CMD_CLASS_MACRO},
        {260, "{", CMD_GROUP_MACRO, CMD_CLASS_MACRO},
        {261, "{", CMD_GROUP_MACRO, CMD_CLASS_MACRO},
        {321, "Hide", CMD_GROUP_NONE, CMD_CLASS_LIST_WINDOW},
        {340, "Edit Clip", CMD_GROUP_NONE, CMD_CLASS_CLIP_WINDOW},
        {370, "Unimplemented Command", CMD_GROUP_APPLICATION, CMD_CLASS_GLOBAL},
        {403, "", CMD_GROUP_NONE, CMD_CLASS_GLOBAL},
        {497, "View Relation", CMD_GROUP_NONE, CMD_CLASS_RELATION_WINDOW},
        {504, "Recent Files", CMD_GROUP_MENU, CMD_CLASS_GLOBAL},
        {578, "", CMD_GROUP_USER_TOOL, CMD_CLASS_GLOBAL},
        {585, "Run Project", CMD_GROUP_BUILD, CMD_CLASS_GLOBAL},
        {606, "Build", CMD_GROUP_TOOLBAR, CMD_CLASS_GLOBAL},
        {675, "GLOBAL", CMD_GROUP_MACRO, CMD_CLASS_MACRO},
        {676, "Enable Event Handlers", CMD_GROUP_OPTIONS, CMD_CLASS_GLOBAL},
        {682, "Save to HTML", CMD_GROUP_FILE, CMD_CLASS_GLOBAL},
    };
    for (const Case &c : cases) {
        EXPECT_STREQ(cmdTable[c.row].name, c.name) << c.row;
        EXPECT_EQ(cmdTable[c.row].group, c.group) << c.row;
        EXPECT_EQ(cmdTable[c.row].commandClass, c.commandClass) << c.row;
    }
}

TEST_F(CmdTabTest, MasksFollowWhatTheHandlersNeed) {
    struct Case {
        int32_t row;
        uint32_t disable, enable;
    } cases[] = {
        {24, 0, 0},          {59, 0, 0x1},     {90, 0x40, 0x100}, {87, 0x40, 0x10},  {88, 0x40, 0x200},
        {92, 0x44, 0x20},    {76, 0, 0x8},     {78, 0x440, 0x8},  {135, 0x440, 0x8}, {311, 0, 0x2000},
        {312, 0x40, 0x4000}, {310, 0x2040, 0}, {41, 0x40, 0x800}, {57, 0x40, 0},     {7, 0x40, 0x3},
    };
    for (const Case &c : cases) {
        uint32_t disable, enable;
        GetCommandMasks(c.row, &disable, &enable);
        EXPECT_EQ(disable, c.disable) << c.row;
        EXPECT_EQ(enable, c.enable) << c.row;
    }
}

TEST_F(CmdTabTest, LookupByName) {
    struct Case {
        const char *name;
        int32_t found;
    } cases[] = {
        {"open", 57},
        {"Open...", 57},
        {"OPEN", 57},
        {"Project Options", 67},
        {"STR_TRUNC", 0},
        {"STRTRUNC", 0},
        {"Hide", 0},
        {"Revert", 142},
        {"Tool Bar", 326},
        {"Save to HTML", 0},
        {"Symbol Info", 82},
        {"Edit", 598},              // the toolbar      {"Search Files", 125},
        {"Lookup References", 295}, // before the context and relation windows' rows of that name
    };
    for (const Case &c : cases) EXPECT_EQ(FindCommandByName(c.name), c.found) << c.name;
}

TEST_F(CmdTabTest, HtmlExportHiddenButRunnable) {
    CmdRunHooks hooks = {};
    hooks.stateFacts = [](CommandStateFacts *facts) { facts->buffer = true; };
    CmdRunSetHooks(&hooks);
    CommandView view;
    GetCommandInfo(682, &view, nullptr, 0);
    EXPECT_EQ(view.commandClass, CMD_CLASS_HIDDEN);
    GetCommandInfo(681, &view, nullptr, 0);
    EXPECT_EQ(view.commandClass, CMD_CLASS_HIDDEN);
    EXPECT_TRUE(RunCommand(682, false));
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Command not available.") << "its handler ran";
    ASSERT_TRUE(InitCommands(true));
    EXPECT_EQ(FindCommandByName("Save to HTML"), 682);
    EXPECT_EQ(FindCommandByName("export project to html"), 681);
}

TEST_F(CmdTabTest, Texts) {
    EXPECT_EQ(Name(90, true), "Edit: Cut");
    EXPECT_EQ(Name(24, true), "Application: Exit");
    EXPECT_EQ(Name(468, true), "Internal Test") << "group None";
    EXPECT_EQ(Name(-1), "---Menu Separator---");
    EXPECT_EQ(Name(900), "Unimplemented Command");
    EXPECT_STREQ(GetCommandDescription(1500), "Undefined command; possibly from a newer version of Veltrix.");
    EXPECT_EQ(Name(-7), "Unimplemented Command");
    EXPECT_EQ(Name(4500), "Unimplemented Command");
    int32_t id = GetUserCommandId("Make");
    EXPECT_EQ(Name(id), "Make");
    EXPECT_STREQ(GetCommandDescription(id), "Custom Command or Editor Macro.");
}

TEST_F(CmdTabTest, TheEngineOwnRowsAreInTheTable) {
    EXPECT_EQ(cmdTable[370].handler, &CmdUnavailable);
    EXPECT_EQ(cmdTable[48].handler, &CmdUnavailable);
    EXPECT_EQ(cmdTable[179].handler, &CmdUnavailable);
    EXPECT_EQ(cmdTable[109].handler, &CmdRedrawScreen);
    EXPECT_EQ(cmdTable[332].handler, &CmdRollupWindow);
    EXPECT_TRUE(RunCommand(332, false));
    EXPECT_TRUE(RunCommand(109, false));
    EXPECT_TRUE(VxAlerts().empty());
    EXPECT_TRUE(RunCommand(1234, false)) << "a command of a newer version";
    ASSERT_EQ(VxAlerts().size(), 1u);
    EXPECT_EQ(VxAlerts()[0].text, "Command not available.");
}

TEST_F(CmdTabTest, HelpRowsAndTheAboutWindow) {
    struct {
        int32_t row;
        CommandHandler handler;
    } rows[] = {{33, CmdHelp},          {64, CmdAbout},          {65, CmdHelpMode},  {288, CmdSdkHelp},
                {345, CmdSetupWinHelp}, {472, CmdSetupHtmlHelp}, {473, CmdHtmlHelp}, {613, CmdWebSite}};
    for (const auto &r : rows) EXPECT_EQ(cmdTable[r.row].handler, r.handler) << r.row;
}

} // namespace
