// cmduser: the user-command table (prefix UserCommand), one string table block made on first use. Slot s
// holds the entry of id 2000 + s: its name as the slot's string (with a NUL, so that it reads as a C string),
// its command as the slot's value (0 marks a free slot, which the block's own store reuses first) and its
// argument in the 8 bytes that follow the string. The block lives in memory only; files name user commands by
// name.
#include "shell/cmduser.h"

#include "base/stb.h"
#include "shell/cmd.h"
#include "shell/keymap.h"

#include <cstring>

enum { USER_ARGUMENT_BYTES = 8 };

static Stb *userTable;

static bool UserCommandReady() {
    if (!userTable) userTable = StbCreateEx(0, 0, USER_ARGUMENT_BYTES, 1);
    return userTable != nullptr;
}

// The slot of an id that lies inside the table, else -1: ids come from files, recordings and macros.
static int32_t UserCommandSlot(int32_t id) {
    if (!userTable || id < CMD_USER_FIRST || id - CMD_USER_FIRST >= StbCount(userTable)) return -1;
    return id - CMD_USER_FIRST;
}

// The argument bytes after a slot's string and its NUL; unaligned, so copied byte by byte.
static unsigned char *UserCommandArgumentBytes(int32_t slot) {
    unsigned char *s = StbStringPtr(userTable, slot);
    return s + s[0] + 2;
}

static void UserCommandRead(int32_t slot, UserCommand *entry) {
    int64_t argument;
    memcpy(&argument, UserCommandArgumentBytes(slot), sizeof argument);
    entry->command = StbGetValue(userTable, slot);
    entry->argument = (intptr_t)argument;
    entry->name = (const char *)StbStringPtr(userTable, slot) + 1;
}

static bool UserCommandIsRow(int32_t command) {
    return command > 0 && command < CMD_ROW_COUNT;
}

int32_t UserCommandAdd(const UserCommand *entry) {
    if (!UserCommandIsRow(entry->command) || !UserCommandReady()) return 0;
    int32_t free;
    // Files can name only ids up to 3999: a table that is full takes no more.
    if (!StbFindValue(userTable, 0, &free) && StbCount(userTable) >= USER_COMMAND_SLOTS) return 0;
    const char *name = entry->name ? entry->name : "";
    int32_t slot = StbStoreInFreeN(userTable, name, (int32_t)strnlen(name, 255));
    if (slot < 0) return 0;
    StbSetValue(userTable, slot, entry->command);
    int64_t argument = entry->argument;
    memcpy(UserCommandArgumentBytes(slot), &argument, sizeof argument);
    return CMD_USER_FIRST + slot;
}

int32_t FindUserCommandByName(const char *name) {
    if (!userTable || !name[0]) return 0;
    for (int32_t slot = 0; slot < StbCount(userTable); slot++) {
        UserCommand entry;
        UserCommandRead(slot, &entry);
        if (entry.command == CMD_RUN_BY_NAME && strcmp(entry.name, name) == 0) return CMD_USER_FIRST + slot;
    }
    return 0;
}

int32_t GetUserCommandId(const char *name) {
    if (!name[0]) return 0;
    int32_t id = FindUserCommandByName(name);
    if (id) return id;
    UserCommand entry = {CMD_RUN_BY_NAME, 0, name};
    return UserCommandAdd(&entry);
}

int32_t FindUserCommandId(int32_t command, intptr_t argument) {
    UserCommand entry;
    for (int32_t slot = -1; NextUserCommandOfKind(command, &slot, &entry);)
        if (entry.argument == argument) return CMD_USER_FIRST + slot;
    return 0;
}

bool NextUserCommandOfKind(int32_t command, int32_t *slot, UserCommand *entry) {
    if (!userTable || command == 0) return false;
    for (int32_t s = *slot < 0 ? 0 : *slot + 1; s < StbCount(userTable); s++) {
        if (StbGetValue(userTable, s) != command) continue;
        UserCommandRead(s, entry);
        *slot = s;
        return true;
    }
    return false;
}

bool UserCommandGet(int32_t id, UserCommand *entry) {
    int32_t slot = UserCommandSlot(id);
    if (slot < 0 || StbGetValue(userTable, slot) == 0) {
        *entry = {0, 0, ""};
        return false;
    }
    UserCommandRead(slot, entry);
    return true;
}

int32_t UserCommandSlots() {
    return userTable ? StbCount(userTable) : 0;
}

intptr_t UserCommandArgument(int32_t id) {
    UserCommand entry;
    return UserCommandGet(id, &entry) ? entry.argument : 0;
}

void UserCommandRemove(int32_t id) {
    int32_t slot = UserCommandSlot(id);
    if (slot < 0) return;
    CmdMenuRemove(id);
    KeyBinding binding;
    for (int32_t position = -1; KeyMapNextForCommand(KeyMapLive(), id, &position, &binding);)
        KeyMapDelete(position--);
    StbClearSlot(userTable, slot);
}

void UserCommandsRemoveOfKind(int32_t command) {
    UserCommand entry;
    for (int32_t slot = -1; NextUserCommandOfKind(command, &slot, &entry);)
        UserCommandRemove(CMD_USER_FIRST + slot);
}

void UserCommandsFree() {
    StbFree(&userTable);
}
