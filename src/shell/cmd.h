// cmd: the command engine (prefix Cmd, and the command names the whole program shares): every action of the
// program is one row of the command table, known by its row number, the command index. The rows are data
// of the program's top module, handed over once at start-up; this module reads them by number and by name,
// gives their texts and masks, tests them against the state bits, keeps the follow-up commands that handlers
// push for the dispatcher, and answers whether a command is in use. User command ids (2000 and up) stand for
// entries of the user-command table (shell/cmduser.h) and read like the row they map to.
//
// Success convention: functions that can fail return bool (true on success) or 0 for "no command"; a command
// handler returns 0 when done, 2 when the user cancelled or refused, and another value on failure.
#pragma once

#include <cstdint>

struct Stl;

typedef int (*CommandHandler)(int32_t command);

enum : int32_t {
    CMD_ROW_COUNT = 683,     // rows 0 to 682
    CMD_SEPARATOR = -1,      // a menu separator
    CMD_UNIMPLEMENTED = 370, // the row read for indexes 683 to 1999 and for every unreadable index
    CMD_USER_FIRST = 2000,   // the first user command id
    CMD_USER_LAST = 3999,    // the last one that files can name
    CMD_RUN_BY_NAME = 32,    // runs a custom command or macro named by a user command
    CMD_NAME_MAX = 256,      // a buffer that holds any command text
    CMD_PENDING_MAX = 20,    // follow-up commands a handler may push
};

// Classes: who offers a command and runs it. Classes 2 to 7 are the local commands of one kind of window,
// offered on that window's own menu and run by it.
enum CommandClass : int32_t {
    CMD_CLASS_GLOBAL = 0, // menus, keys, toolbars and lookup by name
    CMD_CLASS_MACRO = 1,  // macro keywords and built-in functions
    CMD_CLASS_LIST_WINDOW = 2,
    CMD_CLASS_FILE_BROWSER = 3,
    CMD_CLASS_CLIP_WINDOW = 4,
    CMD_CLASS_SYMBOL_WINDOW = 5,
    CMD_CLASS_CONTEXT_WINDOW = 6,
    CMD_CLASS_RELATION_WINDOW = 7,
    CMD_CLASS_HIDDEN = 9, // hidden from lookup and lists
};

enum CommandGroup : int32_t {
    CMD_GROUP_NONE = 0,
    CMD_GROUP_ALL = 1,
    CMD_GROUP_FILE = 2,
    CMD_GROUP_EDIT = 3,
    CMD_GROUP_SEARCH = 4,
    CMD_GROUP_PROJECT = 5,
    CMD_GROUP_OPTIONS = 6,
    CMD_GROUP_VIEW = 7,
    CMD_GROUP_WINDOWS = 8,
    CMD_GROUP_HELP = 9,
    CMD_GROUP_SYMBOL = 10,
    CMD_GROUP_NAVIGATION = 11,
    CMD_GROUP_BUILD = 12,
    CMD_GROUP_SOURCE_CONTROL = 13,
    CMD_GROUP_MACRO = 14,
    CMD_GROUP_CUSTOM = 15,
    CMD_GROUP_USER_TOOL = 16,
    CMD_GROUP_APPLICATION = 17,
    CMD_GROUP_MENU = 18,
    CMD_GROUP_TOOLBAR = 19,
    CMD_GROUP_COUNT = 20,
};

enum CommandFlags : uint32_t {
    CMD_FLAG_DIRECT = 0x1,  // addressed only by number: never asked for a dynamic text, in no assignment list
    CMD_FLAG_SUBMENU = 0x2, // the handler builds a submenu (CallSubmenuHandler)
};

// The state bits that command masks test (GetCommandState, shell/cmdrun.h).
enum CommandState : uint32_t {
    CMD_STATE_BUFFER = 0x1,       // an ordinary file buffer is current
    CMD_STATE_CLIPBOARD = 0x2,    // the current buffer is the "Clipboard" document
    CMD_STATE_NO_BUFFER = 0x4,    // no file buffer is current
    CMD_STATE_PROJECT = 0x8,      // a project is open
    CMD_STATE_UNDO = 0x10,        // undo is possible
    CMD_STATE_PASTE = 0x20,       // something to paste
    CMD_STATE_LOW = 0x40,         // resources are low
    CMD_STATE_TWO_BUFFERS = 0x80, // exactly two file buffers exist
    CMD_STATE_SELECTION = 0x100,  // the front window's selection is not empty
    CMD_STATE_REDO = 0x200,       // redo is possible
    CMD_STATE_READ_ONLY_PROJECT = 0x400,
    CMD_STATE_WINDOWS = 0x800,    // more than one source window
    CMD_STATE_LINKED = 0x1000,    // a window link is in force
    CMD_STATE_RECORDING = 0x2000, // keystroke recording is on
    CMD_STATE_RECORDED = 0x4000,  // a recording exists to play
};

// One row of the command table. In memory only (files store command indexes): 40 bytes on 32-bit systems, in
// this order; the pointers grow on 64-bit.
struct CommandRecord {
    uint32_t disableMask;      // disabled when any of these state bits is set
    uint32_t enableMask;       // when not 0, enabled only when one of these bits is set
    const char *name;          // "" for rows without a fixed name
    const char *description;   // one line of help; may be ""
    int32_t group;             // CommandGroup
    int32_t commandClass;      // CommandClass
    uint32_t flags;            // CommandFlags
    CommandHandler handler;    // null for a row that does nothing
    int32_t reserved;          // always 0
    const char *argumentTypes; // macro built-ins: one letter per argument ("i", "s", "v"); null otherwise
};
static_assert(sizeof(void *) != 4 || sizeof(CommandRecord) == 40, "a row is 40 bytes on 32-bit systems");

// What GetCommandInfo reads of a command: the row it maps to, with a user command's argument.
struct CommandView {
    int32_t command; // the row read: 0..682, or CMD_SEPARATOR
    uint32_t disableMask;
    uint32_t enableMask;
    int32_t commandClass;
    uint32_t flags;    // CMD_FLAG_DIRECT is always clear for a user command id
    intptr_t argument; // a user command's argument (a window or a list position); 0 otherwise
    CommandHandler handler;
    const char *description;
    const char *argumentTypes;
};

// The table, handed over by the program's top module before InitCommands; exactly CMD_ROW_COUNT rows that
// outlive the program's run. Until then every command reads as an empty row.
void CmdSetTable(const CommandRecord *rows);

// Ready for use: hides the HTML export rows 681 and 682 (class 9) unless HTML export is on, gives the window
// library the commands of its own menus and buttons, builds the dictionary of old command names and resets
// the macro language's handles. false when the dictionary cannot be built.
bool InitCommands(bool htmlExport);
void TermCommands();

// Reading commands. Any index reads safely: -1 is the separator, an unknown index or an unreadable user
// command id reads as row 370, an empty user command slot as row 0. Texts are cut to the buffer's size.
void GetCommandInfo(int32_t command, CommandView *view, char *name, int size);
// The same; in menu form the text is prefixed with the group name and ": " (groups other than 0 and 1).
void GetCommandInfoEx(int32_t command, CommandView *view, char *name, int size, bool menuForm);
void GetCommandName(int32_t command, char *name, int size);
const char *GetCommandDescription(int32_t command);
void GetCommandMasks(int32_t command, uint32_t *disableMask, uint32_t *enableMask);
const char *CmdGroupName(int32_t group); // "None" for a group out of range

// The enable test of a command's masks against state bits.
bool IsCommandEnabled(const CommandView *view, uint32_t state);

// A submenu row's handler builds its list of commands (ended by 0) and hands it over with CmdSetSubmenu;
// CallSubmenuHandler returns that list, or null for a row without CMD_FLAG_SUBMENU or when none was given.
const int32_t *CallSubmenuHandler(int32_t command);
void CmdSetSubmenu(const int32_t *commands);
inline const int32_t *GetCommandSubmenu(int32_t command) {
    return CallSubmenuHandler(command);
}

// Lookup by name: a custom command (its user command id), then the first global row with a handler whose
// name matches ignoring case and trailing dots, then an old name of the dictionary; 0 when none.
int32_t FindCommandByName(const char *name);
// The dictionary of old names (base/dd.h), which the macro interpreter reads too; null before InitCommands.
Stl *MacroAliases();

// Follow-up commands pushed by handlers, run by the dispatcher after the handler, newest first.
int32_t PushPendingCommand(int32_t command); // the new count, or 0 when CMD_PENDING_MAX are pending
void ClearPendingCommands();
bool PopPendingCommand(int32_t *command); // false when none is pending

// In use: on the pending stack, on a menu or bound to a key. A key argument is assigned when a key binds a
// user command of that command and argument.
bool IsCommandInUse(int32_t command);
bool IsKeyArgumentAssigned(int32_t command, intptr_t argument);

// The handlers of the command engine's own rows: row 370 (and the rows whose subsystem has not put in its
// handler yet) reports "Command not available."; "Rollup Window" does nothing.
int CmdUnavailable(int32_t command);
int CmdRollupWindow(int32_t command);

// What the engine asks of the window library and of the subsystems above the shell. Every member may be null,
// which gives the neutral answer in brackets.
struct CmdHooks {
    // The text of a row asked dynamically (rows 67, 114, 503, ...): true when it wrote one. [none]
    bool (*dynamicText)(int32_t row, intptr_t argument, char *text, int size);
    // A custom command of the name (ignoring case): true, with its stored name. [none]
    bool (*findCustomCommand)(const char *name, char *storedName, int size);
    void (*menuInvalidate)(int32_t command); // mark the menus that hold the command for rebuilding [nothing]
    void (*menuRemove)(int32_t command);     // take the command off every menu [nothing]
    bool (*menuHolds)(int32_t command);      // some menu holds the command [no]
    void (*resetMacroHandles)();             // the macro language's handle slots [nothing]
};
void CmdSetHooks(const CmdHooks *hooks); // null: all neutral
void CmdMenuInvalidate(int32_t command);
void CmdMenuRemove(int32_t command);
