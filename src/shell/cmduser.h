// cmduser: the user-command table (prefix UserCommand): commands made at run time, each binding a row of the
// command table to an argument or a name. Slot s of the table is the user command id 2000 + s; an id behaves
// everywhere like a command index, reading the masks, class, handler and description of its row, and its
// handler learns the argument through the id. Entries of row 32 run a custom command or macro by name;
// entries of row 114 (a window of the Window menu) and 503 (a recent file) carry their window or position.
// Only ids 2000 to 3999 can be named in files, so the table holds at most 2000 slots.
//
// Success convention: functions that make or find an entry return its id, or 0 when there is none.
#pragma once

#include <cstdint>

struct UserCommand {
    int32_t command;   // the row it runs, 1..682; 0 for an empty slot
    intptr_t argument; // a window or a list position; 0 for a run-by-name entry
    const char *name;  // "" when none; read from the table, valid until the table next changes
};

enum : int32_t { USER_COMMAND_SLOTS = 2000 };

// Stores the entry in the first free slot: its id, or 0 when the table is full, cannot grow, or the entry's
// command is no row.
int32_t UserCommandAdd(const UserCommand *entry);
// The id of the run-by-name entry with exactly this name, added when missing; 0 for an empty name or a table
// that cannot take it.
int32_t GetUserCommandId(const char *name);
int32_t FindUserCommandByName(const char *name); // the same without adding; 0 when none
int32_t FindUserCommandId(int32_t command, intptr_t argument);
// The next used slot after *slot (start with -1) whose entry runs the command: true, with its slot and entry.
bool NextUserCommandOfKind(int32_t command, int32_t *slot, UserCommand *entry);
intptr_t UserCommandArgument(int32_t id); // 0 for an id that holds no entry
inline intptr_t UserCommandArg(int32_t id) {
    return UserCommandArgument(id);
}
// The entry of an id: true when the id names a used slot; an empty entry otherwise.
bool UserCommandGet(int32_t id, UserCommand *entry);
int32_t UserCommandSlots(); // slots in the table, used or empty: ids from 2000 up to 2000 + slots - 1

// Takes the command off every menu and every key, then empties its slot.
void UserCommandRemove(int32_t id);
void UserCommandsRemoveOfKind(int32_t command);
void UserCommandsFree(); // empties the table and frees its block
