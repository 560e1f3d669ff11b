// cmd: the command engine (prefix Cmd). The table itself is read-only data of the program's top module; the
// one run-time change, hiding the HTML export rows, is kept here beside it as a class override. Indexes come
// from files, recordings and macros, so every read goes through CmdResolve, which maps any index to a row
// that exists: -1 the separator, 0..682 themselves, user command ids their entry's row, everything else row
// 370.
#include "shell/cmd.h"

#include "base/dd.h"
#include "base/seam.h"
#include "base/toolbox.h"
#include "base/str.h"
#include "base/utilil.h"
#include "shell/cmduser.h"
#include "shell/keymap.h"
#include "ui/dlgalert.h"

#include <cstring>

enum { CMD_ROW_EXPORT_PROJECT = 681, CMD_ROW_SAVE_HTML = 682 };

static const CommandRecord cmdEmptyRow = {0, 0, "", "", 0, 0, 0, nullptr, 0, nullptr};
static const CommandRecord cmdSeparator = {
    0, 0, "---Menu Separator---", "Separates items on menus.", 0, 0, CMD_FLAG_DIRECT, nullptr, 0, nullptr};

static const char *const cmdGroupNames[CMD_GROUP_COUNT] = {
    "None",  "All Commands", "File",      "Edit",        "Search",     "Project", "Options",
    "View",  "Windows",      "Help",      "Symbol",      "Navigation", "Build",   "Source Control",
    "Macro", "Custom Cmd",   "User Tool", "Application", "Menu",       "Toolbar",
};

static const CommandRecord *cmdRows;
static bool cmdExportHidden;
static Stl *cmdAliases;
static CmdHooks cmdHooks;
static const int32_t *cmdSubmenu;
static int32_t cmdPending[CMD_PENDING_MAX];
static int32_t cmdPendingCount;

// Old names of commands and macro functions, and the rows they name.
struct CmdAlias {
    const char *name;
    int32_t row;
};

static const CmdAlias cmdAliasTable[] = {
    {"STR_TRUNC", 267},
    {"STR_MID", 268},
    {"GET_CUR_SYMBOL", 271},
    {"GET_SYM_LINE", 272},
    {"GETSYMLINE", 272},
    {"ASCII", 304},
    {"NEW_BUF", 195},
    {"OPEN_BUF", 201},
    {"CLOSE_BUF", 202},
    {"SAVE_BUF", 203},
    {"SAVE_BUF_AS", 204},
    {"SET_BUF_FOCUS", 205},
    {"SETBUFFOCUS", 205},
    {"GET_BUF_FOCUS", 218},
    {"GETBUFFOCUS", 218},
    {"GET_BUF_LINE", 206},
    {"PUT_BUF_LINE", 207},
    {"INS_BUF_LINE", 208},
    {"APPEND_BUF_LINE", 209},
    {"DEL_BUF_LINE", 210},
    {"CUT_BUF_LINE", 211},
    {"GET_BUF_LINE_COUNT", 214},
    {"GET_BUF_LINE_LEN", 215},
    {"GET_BUF_NAME", 259},
    {"SET_BUF_SEL_STR", 262},
    {"SET_BUF_INS", 275},
    {"GET_BUF_LINE_CUR", 244},
    {"GETBUFLNCUR", 244},
    {"GET_BUF_SEL_STR", 245},
    {"GET_BUF_HANDLE", 200},
    {"ISCTRLKEY", 301},
    {"ISALTKEY", 302},
    {"NEW_WND", 227},
    {"CLOSE_WND", 228},
    {"GET_WND_HANDLE", 229},
    {"GETWNDHANDLE", 229},
    {"GET_WND_FOCUS", 230},
    {"GETWNDFOCUS", 230},
    {"SET_WND_FOCUS", 231},
    {"SETWNDFOCUS", 231},
    {"GET_WND_SEL_FIRST_LINE", 322},
    {"GET_WND_SEL_LAST_LINE", 323},
    {"GET_WND_SEL_FIRST_ICHAR", 324},
    {"GET_WND_SEL_LIM_ICHAR", 325},
    {"Open_Files", 342},
    {"Mark", 108},
    {"Project-Wide Rename", 347},
    {"Revert", 142},
    {"Project Options", 67},
    {"Look Up References", 295},
    {"Browse Global Symbols", 61},
    {"Tool Bar", 326},
};
enum { CMD_ALIAS_ENTRIES = 53, CMD_ALIAS_BUCKETS = 51 }; // the dictionary's room and hash buckets

// The commands of the window library's own menus and buttons, by its slot.
static const int32_t cmdToolboxCommands[TOOLBOX_CMD_SLOTS] = {
    321, 332, 368, 42, 451, 457, 0, 496, 0, 0, 0, 155, 480, 481, 478, 513, 33,
};

static void CmdResetHooks() {
    cmdHooks = {};
}

void CmdSetHooks(const CmdHooks *hooks) {
    cmdHooks = hooks ? *hooks : CmdHooks{};
    SeamRegisterReset(CmdResetHooks);
}

void CmdMenuInvalidate(int32_t command) {
    if (cmdHooks.menuInvalidate) cmdHooks.menuInvalidate(command);
}

void CmdMenuRemove(int32_t command) {
    if (cmdHooks.menuRemove) cmdHooks.menuRemove(command);
}

void CmdSetTable(const CommandRecord *rows) {
    cmdRows = rows;
}

static const CommandRecord *CmdRow(int32_t row) {
    if (row == CMD_SEPARATOR) return &cmdSeparator;
    return cmdRows ? &cmdRows[row] : &cmdEmptyRow;
}

static int32_t CmdClassOf(int32_t row, const CommandRecord *record) {
    if (cmdExportHidden && (row == CMD_ROW_EXPORT_PROJECT || row == CMD_ROW_SAVE_HTML))
        return CMD_CLASS_HIDDEN;
    return record->commandClass;
}

// What a command index or user command id stands for: the row to read, and the entry of a user command.
struct CmdTarget {
    int32_t row;
    bool user;
    UserCommand entry;
};

static CmdTarget CmdResolve(int32_t command) {
    CmdTarget target = {CMD_UNIMPLEMENTED, false, {0, 0, ""}};
    if (command >= CMD_SEPARATOR && command < CMD_ROW_COUNT) {
        target.row = command;
    } else if (command >= CMD_USER_FIRST && command - CMD_USER_FIRST < UserCommandSlots()) {
        target.user = true;
        // An empty slot reads as row 0; an entry whose own command is no row reads as row 370.
        if (!UserCommandGet(command, &target.entry))
            target.row = 0;
        else if (target.entry.command > 0 && target.entry.command < CMD_ROW_COUNT)
            target.row = target.entry.command;
    }
    return target;
}

static void CmdFillView(const CmdTarget *target, CommandView *view) {
    const CommandRecord *record = CmdRow(target->row);
    view->command = target->row;
    view->disableMask = record->disableMask;
    view->enableMask = record->enableMask;
    view->commandClass = CmdClassOf(target->row, record);
    view->flags = target->user ? record->flags & ~CMD_FLAG_DIRECT : record->flags;
    view->argument = target->user ? target->entry.argument : 0;
    view->handler = record->handler;
    view->description = record->description;
    view->argumentTypes = record->argumentTypes;
}

static void CmdCopyText(const char *text, char *out, int size) {
    if (size <= 0) return;
    StrCopyMaxLen(text, out, size - 1);
}

// The text of a command: a run-by-name entry's own name, a dynamic text, the row's name, or the entry's name.
static void CmdText(const CmdTarget *target, const CommandView *view, char *out, int size) {
    if (target->user && target->row == CMD_RUN_BY_NAME) {
        CmdCopyText(target->entry.name, out, size);
        return;
    }
    if (!(view->flags & CMD_FLAG_DIRECT) && cmdHooks.dynamicText && size > 0) {
        out[0] = 0;
        if (cmdHooks.dynamicText(target->row, view->argument, out, size)) {
            out[size - 1] = 0;
            return;
        }
    }
    const char *name = CmdRow(target->row)->name;
    CmdCopyText(name[0] ? name : target->entry.name, out, size);
}

void GetCommandInfoEx(int32_t command, CommandView *view, char *name, int size, bool menuForm) {
    CmdTarget target = CmdResolve(command);
    CmdFillView(&target, view);
    if (!name || size <= 0) return;
    int32_t group = CmdRow(target.row)->group;
    if (!menuForm || group <= CMD_GROUP_ALL || group >= CMD_GROUP_COUNT) {
        CmdText(&target, view, name, size);
        return;
    }
    char text[CMD_NAME_MAX];
    CmdText(&target, view, text, sizeof text);
    CmdCopyText(cmdGroupNames[group], name, size);
    StrAppendMax(": ", name, size - 1);
    StrAppendMax(text, name, size - 1);
}

void GetCommandInfo(int32_t command, CommandView *view, char *name, int size) {
    GetCommandInfoEx(command, view, name, size, false);
}

void GetCommandName(int32_t command, char *name, int size) {
    CommandView view;
    GetCommandInfo(command, &view, name, size);
}

const char *GetCommandDescription(int32_t command) {
    return CmdRow(CmdResolve(command).row)->description;
}

void GetCommandMasks(int32_t command, uint32_t *disableMask, uint32_t *enableMask) {
    const CommandRecord *record = CmdRow(CmdResolve(command).row);
    *disableMask = record->disableMask;
    *enableMask = record->enableMask;
}

const char *CmdGroupName(int32_t group) {
    return group >= 0 && group < CMD_GROUP_COUNT ? cmdGroupNames[group] : cmdGroupNames[0];
}

bool IsCommandEnabled(const CommandView *view, uint32_t state) {
    if (view->disableMask & state) return false;
    return view->enableMask == 0 || (view->enableMask & state) != 0;
}

void CmdSetSubmenu(const int32_t *commands) {
    cmdSubmenu = commands;
}

const int32_t *CallSubmenuHandler(int32_t command) {
    CommandView view;
    GetCommandInfo(command, &view, nullptr, 0);
    if (!(view.flags & CMD_FLAG_SUBMENU) || !view.handler) return nullptr;
    cmdSubmenu = nullptr;
    view.handler(command);
    const int32_t *list = cmdSubmenu;
    cmdSubmenu = nullptr;
    return list;
}

// ---- Lookup by name

// The length of a name without its trailing dots.
static size_t CmdNameLength(const char *name) {
    size_t n = strlen(name);
    while (n > 0 && name[n - 1] == '.') n--;
    return n;
}

static bool CmdIsRunnableGlobal(int32_t row) {
    const CommandRecord *record = CmdRow(row);
    return record->handler && CmdClassOf(row, record) == CMD_CLASS_GLOBAL;
}

static int32_t CmdFindRow(const char *name) {
    size_t n = CmdNameLength(name);
    if (n == 0 || !cmdRows) return 0;
    for (int32_t row = 0; row < CMD_ROW_COUNT; row++) {
        const char *rowName = cmdRows[row].name;
        if (CmdNameLength(rowName) == n && MemEqualI(rowName, name, (int)n) && CmdIsRunnableGlobal(row))
            return row;
    }
    return 0;
}

static int32_t CmdFindCustom(const char *name) {
    char stored[CMD_NAME_MAX];
    stored[0] = 0;
    if (!cmdHooks.findCustomCommand || !cmdHooks.findCustomCommand(name, stored, sizeof stored)) return 0;
    stored[sizeof stored - 1] = 0;
    return GetUserCommandId(stored);
}

static int32_t CmdFindAlias(const char *name) {
    int32_t row;
    if (!cmdAliases || !DdLookup(cmdAliases, name, &row)) return 0;
    return row > 0 && row < CMD_ROW_COUNT && CmdIsRunnableGlobal(row) ? row : 0;
}

Stl *MacroAliases() {
    return cmdAliases;
}

int32_t FindCommandByName(const char *name) {
    if (!name || !name[0]) return 0;
    if (int32_t id = CmdFindCustom(name)) return id;
    if (int32_t row = CmdFindRow(name)) return row;
    return CmdFindAlias(name);
}

// ---- Start and end

static void CmdFreeAliases() {
    if (cmdAliases) StlFree(cmdAliases);
    cmdAliases = nullptr;
}

static bool CmdBuildAliases() {
    CmdFreeAliases();
    cmdAliases = DdCreate(CMD_ALIAS_ENTRIES, 0, CMD_ALIAS_BUCKETS);
    if (!cmdAliases) return false;
    for (const CmdAlias &alias : cmdAliasTable) {
        if (!DdAdd(cmdAliases, alias.name, &alias.row)) return false;
    }
    return true;
}

bool InitCommands(bool htmlExport) {
    cmdExportHidden = !htmlExport;
    ToolboxSetCommands(cmdToolboxCommands);
    bool built = CmdBuildAliases();
    if (cmdHooks.resetMacroHandles) cmdHooks.resetMacroHandles();
    return built;
}

void TermCommands() {
    CmdFreeAliases();
    cmdExportHidden = false;
    UserCommandsFree();
    cmdPendingCount = 0;
}

// ---- The pending stack

int32_t PushPendingCommand(int32_t command) {
    if (cmdPendingCount >= CMD_PENDING_MAX) return 0;
    cmdPending[cmdPendingCount++] = command;
    return cmdPendingCount;
}

void ClearPendingCommands() {
    cmdPendingCount = 0;
}

bool PopPendingCommand(int32_t *command) {
    if (cmdPendingCount == 0) return false;
    *command = cmdPending[--cmdPendingCount];
    return true;
}

// ---- In use

bool IsCommandInUse(int32_t command) {
    for (int32_t i = 0; i < cmdPendingCount; i++)
        if (cmdPending[i] == command) return true;
    if (cmdHooks.menuHolds && cmdHooks.menuHolds(command)) return true;
    return KeyForCommand(command) != 0;
}

bool IsKeyArgumentAssigned(int32_t command, intptr_t argument) {
    KeyBinding binding;
    for (int32_t position = 0; KeyMapGet(position, &binding); position++) {
        UserCommand entry;
        if (UserCommandGet((int32_t)binding.command, &entry) && entry.command == command &&
            entry.argument == argument)
            return true;
    }
    return false;
}

// ---- The engine's own rows

int CmdUnavailable(int32_t) {
    AlertError("Command not available.");
    return 0;
}

int CmdRollupWindow(int32_t) {
    return 0;
}
