// keymap: the key map and key names (prefixes KeyMap, Key). The key map binds key codes (keys with their
// modifiers, and mouse clicks) to commands: every key that reaches a window becomes a command through it.
// New bindings go to the front and lookups scan from the front, so the newest binding of a key wins; a key
// may be bound more than once and a command may have any number of keys. Key codes are stored upper-cased,
// with either Shift bit standing for both. The module also writes a key code's display text ("Ctrl+Shift+F3",
// "Ctrl+L Click (select)"), and reads and writes the key map section of the configuration file.
//
// Success convention: functions that can fail return bool (true on success); lookups return a command, a key
// or a position, with 0 (-1 for a position) for none.
#pragma once

#include "base/heap.h"
#include "base/keycode.h"
#include "base/stb.h"

#include <cstdint>

// One binding as stored, in memory and in the configuration file.
struct KeyBinding {
    uint32_t command; // a row of the command table, or a user command id from 2000 to 3999
    uint32_t key;     // KeyCode
};
static_assert(sizeof(KeyBinding) == 8, "a binding is two 32-bit words");

struct KeyMap {
    uint32_t count;   // bindings in use
    Handle *bindings; // count KeyBinding records, newest first; null when the map holds none
};

enum { KEY_NAME_MAX = 64 }; // a buffer that holds any key's display text

// The live map.
int32_t KeyToCommand(KeyCode key); // 0 for printable characters and unbound keys
int32_t KeyMapFind(KeyCode key);   // position of the key's first binding, or -1
KeyCode KeyForCommand(int32_t command);
int32_t KeyMapCount();
bool KeyMapGet(int32_t position, KeyBinding *binding); // false past the end
const KeyMap *KeyMapLive();
// Binds in front of every other binding; false, with the map unchanged, when it cannot grow.
bool KeyMapAdd(int32_t command, KeyCode key);
int32_t KeyMapDelete(int32_t position); // the new count; a position past the end changes nothing
// Installs preset 2 ("Veltrix Classic Keys") or, for any other value, the standard keys; false, with the map
// unchanged, when memory fails.
bool KeyMapReset(int preset);
bool KeyMapRightClickBound(); // a binding's key is the right click, plain or selecting

// Any map. The next binding of the command after *position (start with -1): true, with its position.
bool KeyMapNextForCommand(const KeyMap *map, int32_t command, int32_t *position, KeyBinding *binding);
bool KeyMapCopy(KeyMap *out);    // a copy of the live map
void KeyMapInstall(KeyMap *map); // the live map's bindings are freed and the map's taken; the map is emptied
void KeyMapFree(KeyMap *map);

// The display text of a key code, cut to the buffer's size.
void KeyCodeName(KeyCode key, char *text, int size);
// The display texts of the command's keys, each with its position as value: every key when full, else the
// first only; an empty block for command 0; null when the block cannot grow.
Stb *KeyNamesOfCommand(int32_t command, bool full);

// The key map section of the configuration file: a u32 count, the bindings as stored, then, for each binding
// of a user command (2000 to 3999) in binding order, the user command's name as a length-prefixed string.
bool KeyMapWrite(int file);
// Reads a section of size bytes at the file's position into out, which the caller installs or frees. The
// section must hold exactly what its count says. A binding of a command below 0 or from 4000 is dropped
// (683 to 1999 stay: they read as row 370), and one whose user command name gives no id. On failure out is
// empty and no user command was made.
bool KeyMapRead(int file, uint32_t size, KeyMap *out);
