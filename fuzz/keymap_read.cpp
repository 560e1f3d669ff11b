// Fuzz target: the key map section of the configuration file read from arbitrary bytes, the whole input
// being the section. Expected: a refused section keeps nothing and makes no user command; an accepted one
// holds only commands of the table (0 to 1999) or user commands found by name, with keys in their stored
// form, and installed, written back and read again it gives the same bindings.
#include "base/erc.h"
#include "base/file.h"
#include "base/heap.h"
#include "shell/cmd.h"
#include "shell/cmduser.h"
#include "shell/keymap.h"
#include "support/fuzz.h"

#include <cstring>

static bool FuzzSameBindings(const KeyMap *a, const KeyMap *b) {
    if (a->count != b->count) return false;
    return a->count == 0 || memcmp(a->bindings->ptr, b->bindings->ptr, a->count * sizeof(KeyBinding)) == 0;
}

static bool FuzzBindingsSound(const KeyMap *map) {
    const KeyBinding *bindings = map->count ? (const KeyBinding *)map->bindings->ptr : nullptr;
    for (uint32_t i = 0; i < map->count; i++) {
        UserCommand entry;
        bool row = bindings[i].command < (uint32_t)CMD_USER_FIRST;
        bool user = UserCommandGet((int32_t)bindings[i].command, &entry) && entry.command == CMD_RUN_BY_NAME;
        if (!row && !user) return false;
        if ((KeyCode)bindings[i].key != KeyUpcase((KeyCode)bindings[i].key)) return false;
    }
    return true;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    int open = FileCountOpen();
    int32_t handles = HLiveCount();
    int file = FuzzOpenBytes("keymap.bin", data, size);
    KeyMap map;
    bool ok = KeyMapRead(file, (uint32_t)size, &map);
    if (!ok) {
        FuzzCheck(map.count == 0 && map.bindings == nullptr, "a refused section gives an empty map");
        FuzzCheck(UserCommandSlots() == 0, "a refused section makes no user command");
        FuzzCheck(HLiveCount() == handles, "a refused section keeps nothing");
    } else {
        FuzzCheck(FuzzBindingsSound(&map), "an accepted section holds commands and stored keys");
        KeyMapInstall(&map);
        int scratch = FuzzOpenBytes("keymap-again.bin", nullptr, 0);
        FuzzCheck(KeyMapWrite(scratch), "the section read can be written");
        uint32_t written = FileTell(scratch);
        FileSeek(scratch, 0);
        KeyMap again;
        FuzzCheck(KeyMapRead(scratch, written, &again), "the section written is read again");
        FuzzCheck(FuzzSameBindings(KeyMapLive(), &again), "the bindings survive the round trip");
        KeyMapFree(&again);
        FileClose(scratch);
        KeyMap empty = {};
        KeyMapInstall(&empty);
    }
    UserCommandsFree();
    FileClose(file);
    FuzzCheck(FileCountOpen() == open, "the files are closed");
    FuzzCheck(HLiveCount() == handles, "nothing is left behind");
    ErcClear();
    return 0;
}
