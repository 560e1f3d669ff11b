// The user-command table:
// - ids from the first free slot, freed slots taken again, entries whose command is no row refused;
// - run-by-name entries found and made by exact name, names cut at 255 characters;
// - entries found by command and argument (pointer-sized), walked by kind;
// - the bound: files name ids up to 3999 only, so a full table takes no more;
// - removal takes the command off every menu and key and empties the slot.
#include "cmdtest.h"

#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "shell/keymap.h"

#include <string>

namespace {

int32_t AddUser(int32_t command, intptr_t argument, const char *name = "") {
    UserCommand entry = {command, argument, name};
    return UserCommandAdd(&entry);
}

using UserCommandTest = CmdTest;

TEST_F(UserCommandTest, IdsComeFromTheFirstFreeSlot) {
    EXPECT_EQ(AddUser(114, 1), 2000);
    EXPECT_EQ(AddUser(114, 2), 2001);
    EXPECT_EQ(AddUser(503, 0), 2002);
    UserCommandRemove(2001);
    UserCommand entry;
    EXPECT_FALSE(UserCommandGet(2001, &entry));
    EXPECT_EQ(entry.command, 0);
    EXPECT_STREQ(entry.name, "");
    EXPECT_EQ(AddUser(503, 4), 2001) << "the freed slot is taken again";
    ASSERT_TRUE(UserCommandGet(2001, &entry));
    EXPECT_EQ(entry.command, 503);
    EXPECT_EQ(entry.argument, 4);
}

TEST_F(UserCommandTest, EntriesOfNoRowAreRefused) {
    for (int32_t command : {0, -1, (int32_t)CMD_ROW_COUNT, 1999, 2000, 2500})
        EXPECT_EQ(AddUser(command, 0), 0) << command;
    EXPECT_EQ(AddUser(682, 0), 2000);
}

TEST_F(UserCommandTest, RunByNameEntriesMatchExactly) {
    int32_t id = GetUserCommandId("Build");
    EXPECT_EQ(id, 2000);
    EXPECT_EQ(GetUserCommandId("Build"), id) << "found, not added again";
    EXPECT_EQ(FindUserCommandByName("build"), 0) << "names are compared exactly";
    EXPECT_EQ(GetUserCommandId("build"), 2001);
    EXPECT_EQ(GetUserCommandId(""), 0);
    EXPECT_EQ(FindUserCommandByName(""), 0);
    AddUser(114, 9, "Build2");
    EXPECT_EQ(FindUserCommandByName("Build2"), 0) << "only run-by-name entries";
    std::string longName(300, 'x');
    int32_t cut = GetUserCommandId(longName.c_str());
    UserCommand entry;
    ASSERT_TRUE(UserCommandGet(cut, &entry));
    EXPECT_EQ(std::string(entry.name), std::string(255, 'x'));
}

TEST_F(UserCommandTest, FindByCommandAndArgumentAndWalkByKind) {
    intptr_t wide = (intptr_t)&wide; // a window record's address
    int32_t a = AddUser(114, 5), b = AddUser(503, 5), c = AddUser(114, wide);
    EXPECT_EQ(FindUserCommandId(114, 5), a);
    EXPECT_EQ(FindUserCommandId(503, 5), b);
    EXPECT_EQ(FindUserCommandId(114, wide), c);
    EXPECT_EQ(UserCommandArgument(c), wide);
    EXPECT_EQ(FindUserCommandId(114, 6), 0);
    EXPECT_EQ(UserCommandArgument(4000), 0);
    std::vector<int32_t> slots;
    UserCommand entry;
    for (int32_t slot = -1; NextUserCommandOfKind(114, &slot, &entry);) slots.push_back(slot);
    EXPECT_EQ(slots, (std::vector<int32_t>{0, 2}));
}

TEST_F(UserCommandTest, AFullTableTakesNoIdPast3999) {
    for (int32_t i = 0; i < USER_COMMAND_SLOTS; i++) ASSERT_EQ(AddUser(503, i), CMD_USER_FIRST + i);
    EXPECT_EQ(AddUser(503, -1), 0);
    EXPECT_EQ(GetUserCommandId("One more"), 0);
    UserCommandRemove(2500);
    EXPECT_EQ(GetUserCommandId("One more"), 2500);
}

std::vector<int32_t> menuRemoved;

TEST_F(UserCommandTest, RemovalTakesTheCommandOffMenusAndKeys) {
    CmdHooks hooks = {};
    hooks.menuRemove = [](int32_t command) { menuRemoved.push_back(command); };
    CmdSetHooks(&hooks);
    menuRemoved.clear();
    int32_t run = GetUserCommandId("Run Tests"), other = GetUserCommandId("Lint");
    ASSERT_TRUE(KeyMapAdd(run, KEY_CTRL | 'T'));
    ASSERT_TRUE(KeyMapAdd(other, KEY_CTRL | 'L'));
    ASSERT_TRUE(KeyMapAdd(run, KEY_ALT | 'T'));
    ASSERT_TRUE(KeyMapAdd(90, KEY_CTRL | 'X'));
    UserCommandRemove(run);
    EXPECT_EQ(menuRemoved, (std::vector<int32_t>{run}));
    EXPECT_EQ(KeyMapCount(), 2);
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'L'), other);
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'X'), 90);
    EXPECT_EQ(KeyToCommand(KEY_CTRL | 'T'), 0);
    EXPECT_EQ(FindUserCommandByName("Run Tests"), 0);
    UserCommandRemove(4100); // no such slot: nothing happens
    EXPECT_EQ(menuRemoved.size(), 1u);
}

TEST_F(UserCommandTest, RemoveEveryEntryOfAKind) {
    AddUser(114, 1);
    int32_t keep = AddUser(503, 1);
    AddUser(114, 2);
    UserCommandsRemoveOfKind(114);
    UserCommand entry;
    int32_t slot = -1;
    EXPECT_FALSE(NextUserCommandOfKind(114, &slot, &entry));
    EXPECT_EQ(FindUserCommandId(503, 1), keep);
}

} // namespace
