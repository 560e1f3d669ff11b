// cmdline: the command line's options as a table, its file arguments, and the queue of handed-over lines
// (prefix CmdLine). Windows-only: it reads the Shift key, the registry and brings the frame to the front.
#include "shell/cmdline.h"

#include "base/erc.h"
#include "base/folder.h"
#include "base/heap.h"
#include "base/log.h"
#include "base/path.h"
#include "base/plex.h"
#include "base/reg.h"
#include "base/str.h"
#include "base/sysprobe.h"
#include "base/tick.h"
#include "base/utilil.h"
#include "base/wnd.h"
#include "shell/cmdargs.h"
#include "shell/cmdrun.h"
#include "shell/framehook.h"
#include "ui/dlgalert.h"

#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

enum : int32_t {
    CMDLINE_CMD_UPDATE = 135,  // the project update
    CMDLINE_OPTION_MAX = 16,   // characters of an option's name that are compared
    CMDLINE_FRONT_PAUSE = 100, // ms the system is given to bring the frame to the front
};

struct CmdLineState {
    const char *folder;
    int32_t pendingLine; // for the next file; 0 when none
    void *activate;      // the window of "+name", activated at the end
    const char *symbol;  // "-f"
    const char *command; // "-c"
    char config[PATH_BUFFER];
    bool fileNamed;
    bool projectNamed;
    bool update;
    bool batch;
    bool quit;
};

// ---- Files

static bool CmdLineMakeFull(const CmdLineState *state, const char *arg, char *full) {
    // A longer name would be cut to fit a path, opening or creating some other file.
    if (strlen(arg) > PATH_MAX_CHARS) {
        AlertError("File name too long: %s", arg);
        return false;
    }
    return (state->folder ? PathMakeFullIn(state->folder, arg, full) : PathMakeFull(arg, full)) != 0;
}

static bool CmdLineIsConfig(const char *path) {
    return StrEqualI(PathGetExt(path), ".CF3") || StrEqualI(PathGetExt(path), ".CF");
}

// A bare name that is no file of the folder, while a project is open, names a symbol of the project.
static bool CmdLineOpenSymbol(const char *arg, const char *full) {
    return PathIsBareName(arg) && FrameSymbol().projectIsOpen() && !FileExists(full) &&
           FrameSymbol().openProjectSymbol(arg);
}

static void CmdLineFile(CmdLineState *state, const char *arg, bool activate) {
    char full[PATH_BUFFER];
    if (!CmdLineMakeFull(state, arg, full)) return;
    if (StrEqualI(PathGetExt(full), ".WK3")) {
        FrameDoc().loadWorkspace(full, true);
        return;
    }
    if (CmdLineIsConfig(full)) {
        StrCopyMaxLen(full, state->config, PATH_MAX_CHARS);
        return;
    }
    state->fileNamed = true;
    if (CmdLineOpenSymbol(arg, full)) return;
    void *window = FrameDoc().openFileAtLine(full, state->pendingLine);
    state->pendingLine = 0;
    if (activate && window) state->activate = window;
}

static bool CmdLineIsDigits(const char *text) {
    if (!*text) return false;
    for (; *text; text++)
        if (!isdigit((unsigned char)*text)) return false;
    return true;
}

static void CmdLinePlus(CmdLineState *state, const char *arg) {
    const char *rest = arg + 1;
    if (!*rest) {
        AlertError("Line number or file name should follow `+'.");
    } else if (CmdLineIsDigits(rest)) {
        long line = strtol(rest, nullptr, 10); // saturates on overflow
        state->pendingLine = line < 1 ? 1 : line > INT32_MAX ? INT32_MAX : (int32_t)line;
    } else {
        CmdLineFile(state, rest, true);
    }
}

// ---- Options: each answers how many arguments after it it took

static int32_t CmdLineNeed(const char *next, const char *message) {
    if (!next) AlertError("%s", message);
    return next ? 1 : 0;
}

static int32_t CmdLineOptCommand(CmdLineState *state, const char *next) {
    if (next) state->command = next;
    return CmdLineNeed(next, "You must specify a command name with the /c option.");
}

static int32_t CmdLineOptSymbol(CmdLineState *state, const char *next) {
    if (next) state->symbol = next;
    return CmdLineNeed(next, "You must specify a symbol name with the /f option.");
}

static int32_t CmdLineOptNone(CmdLineState *, const char *) {
    return 0;
}

static int32_t CmdLineOptUpdate(CmdLineState *state, const char *) {
    state->update = true;
    return 0;
}

static int32_t CmdLineOptBatchUpdate(CmdLineState *state, const char *) {
    state->update = state->batch = true;
    return 0;
}

static int32_t CmdLineOptPrint(CmdLineState *state, const char *next) {
    char full[PATH_BUFFER];
    if (next && CmdLineMakeFull(state, next, full)) {
        FrameDisplay().printFileByName(full, false);
        state->quit = true;
    }
    return CmdLineNeed(next, "You must specify a file name with the /print option.");
}

static int32_t CmdLineOptCloseProject(CmdLineState *, const char *) {
    FrameSymbol().closeCurrentProject();
    RegSetString(RegUserProgramKey(), "CurrentProject", "");
    FrameShell().loadConfig(nullptr);
    FrameShell().setFrameTitle();
    return 0;
}

static int32_t CmdLineProject(CmdLineState *state, const char *next, bool ptForm) {
    if (next) {
        FrameSymbol().openProject(next, ptForm);
        state->projectNamed = true;
    }
    return CmdLineNeed(next, "You must specify a project name with the /p option.");
}

static int32_t CmdLineOptProject(CmdLineState *state, const char *next) {
    return CmdLineProject(state, next, false);
}

static int32_t CmdLineOptProjectT(CmdLineState *state, const char *next) {
    return CmdLineProject(state, next, true);
}

struct CmdLineOption {
    const char *name;
    int32_t (*apply)(CmdLineState *state, const char *next); // next: the argument after it, or null
};

static const CmdLineOption cmdLineOptions[] = {
    {"c", CmdLineOptCommand},      {"f", CmdLineOptSymbol},    {"i", CmdLineOptNone},
    {"n", CmdLineOptNone},         {"s", CmdLineOptNone},      {"u", CmdLineOptUpdate},
    {"ub", CmdLineOptBatchUpdate}, {"print", CmdLineOptPrint}, {"pc", CmdLineOptCloseProject},
    {"p", CmdLineOptProject},      {"pt", CmdLineOptProjectT},
};

static int32_t CmdLineApplyOption(CmdLineState *state, const char *arg, const char *next) {
    char name[CMDLINE_OPTION_MAX + 1];
    CmdArgsOptionName(arg, name, sizeof name);
    for (const CmdLineOption &option : cmdLineOptions)
        if (StrEqualI(name, option.name)) return option.apply(state, next);
    AlertError("Invalid Option: %s", arg);
    return 0;
}

// ---- The whole line

static bool CmdLineShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

static void CmdLineFinish(CmdLineState *state, bool loadWorkspace) {
    if (state->config[0]) FrameShell().loadConfig(state->config);
    if (loadWorkspace && !state->projectNamed && !CmdLineShiftHeld())
        FrameDoc().loadWorkspace(nullptr, !state->symbol && !state->fileNamed);
    if (state->symbol) FrameSymbol().showSymbol(state->symbol);
    if (state->activate) FrameDoc().activateWindow(state->activate);
    if (state->update) {
        RunCommand(CMDLINE_CMD_UPDATE, false);
        if (state->batch) state->quit = true;
    }
}

bool ProcessCommandLine(int32_t count, char **args, bool loadWorkspace, const char *folder,
                        CmdLineResult *out) {
    CmdLineState state = {};
    state.folder = folder;
    for (int32_t i = 0; i < count; i++) {
        ErcClear();
        const char *arg = args[i];
        const char *next = i + 1 < count ? args[i + 1] : nullptr;
        if (arg[0] == '+')
            CmdLinePlus(&state, arg);
        else if (arg[0] == '-' || arg[0] == '/')
            i += CmdLineApplyOption(&state, arg, next);
        else
            CmdLineFile(&state, arg, false);
    }
    CmdLineFinish(&state, loadWorkspace);
    out->command = state.command;
    out->quitWhenDone = state.quit;
    return true;
}

void HandleExternalRequest(const char *commandLine, const char *folder) {
    CmdArgs args;
    if (!CmdArgsMake(commandLine, &args)) return;
    CmdLineResult result;
    ProcessCommandLine(args.count, args.args, false, folder, &result);
    if (result.command) RunCommandByName(result.command);
    CmdArgsFree(&args);
}

// ---- Handed-over lines

static Plex *cmdLineRequests; // char * texts, oldest first

bool CmdLineQueueRequest(const char *text) {
    if (!cmdLineRequests && !(cmdLineRequests = PlexCreate(sizeof(char *), 0, 0))) return false;
    char *copy = SzDup(text);
    if (copy && PlexInsert(cmdLineRequests, -1, 1, &copy)) return true;
    MemFree(copy);
    return false;
}

bool CmdLineRequestPending() {
    return cmdLineRequests && PlexCount(cmdLineRequests) > 0;
}

static char *CmdLineTakeRequest() {
    if (!CmdLineRequestPending()) return nullptr;
    char *text = *(char **)PlexElem(cmdLineRequests, 0);
    PlexDelete(cmdLineRequests, 0, 1);
    return text;
}

// The system lets a program take the foreground only at once after input; for the moment of the switch the
// lock is lifted.
static void CmdLineBringFrameToFront() {
    HWND frame = WndGetAppFrame();
    if (!frame) return;
    if (!SysIsWin98Or2000()) {
        SetForegroundWindow(frame);
        return;
    }
    DWORD timeout = 0;
    SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
    if (IsIconic(frame)) ShowWindow(frame, SW_RESTORE);
    SetForegroundWindow(frame);
    TickSleep(CMDLINE_FRONT_PAUSE);
    SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (void *)(uintptr_t)timeout, 0);
}

bool CmdLineRequestStep() {
    char *text = CmdLineTakeRequest();
    if (!text) return false;
    char *split = strchr(text, ';');
    if (split) {
        *split = 0;
        CmdLineBringFrameToFront();
        LogPrintf("Handling external command request: %s", split + 1);
        HandleExternalRequest(split + 1, text);
    }
    MemFree(text);
    return true;
}

void CmdLineRequestsFree() {
    while (char *text = CmdLineTakeRequest()) MemFree(text);
    if (cmdLineRequests) PlexFree(cmdLineRequests);
    cmdLineRequests = nullptr;
}
