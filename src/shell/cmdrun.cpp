// cmdrun: the command dispatcher (prefix CmdRun). RunCommand empties the pending stack, leaves help mode
// instead of running, and then runs the command and each follow-up in turn through CmdRunOne, which does the
// per-command steps: recorder, typing run, enable test, handler, low-memory handling. Windows-only: it asks
// the system for memory figures and the registry for "SkipResourceCheck", and redraws every window for row
// 109.
#include "shell/cmdrun.h"

#include "base/erc.h"
#include "base/log.h"
#include "base/heap.h"
#include "base/reg.h"
#include "base/seam.h"
#include "base/sound.h"
#include "base/tick.h"
#include "shell/help.h"
#include "shell/recorder.h"
#include "shell/runname.h"
#include "shell/status.h"
#include "ui/dlgalert.h"

#include <windows.h>

enum : int32_t {
    CMDRUN_ESCAPE = 2, // the unnamed command that Esc runs
    CMDRUN_EXIT = 24,
    CMDRUN_HELP_MODE = 65,
    CMDRUN_EXIT_SUSPEND = 141,
    CMDRUN_START_RECORDING = 310,
    CMDRUN_STOP_RECORDING = 311,
    CMDRUN_PLAY_RECORDING = 312,
    CMDRUN_DRAG_FIRST = 436, // the drag-line commands keep the edit of the one before open
    CMDRUN_DRAG_LAST = 439,
};

enum : uint64_t { CMDRUN_LOW_BYTES = 0xA00000 };
enum { CMDRUN_BEEP_REFUSED = 5 };

static CmdRunHooks cmdRunHooks;
static CmdRunMemoryProbe cmdRunMemoryProbe;
static int32_t cmdRunCurrent;
static int cmdRunLastResult;
static bool cmdRunFromKey;
static uint32_t cmdRunLastTime;
static bool cmdRunLogCommands;
static bool cmdRunHeapStatus;
static bool cmdRunLowMemoryReported;
static int cmdRunSkipCheck = -1; // read once: -1 until then

static void CmdRunResetSeams() {
    cmdRunHooks = {};
    cmdRunMemoryProbe = nullptr;
    cmdRunSkipCheck = -1;
}

void CmdRunSetHooks(const CmdRunHooks *hooks) {
    cmdRunHooks = hooks ? *hooks : CmdRunHooks{};
    SeamRegisterReset(CmdRunResetSeams);
}

void CmdRunSetMemoryProbe(CmdRunMemoryProbe probe) {
    cmdRunMemoryProbe = probe;
    SeamRegisterReset(CmdRunResetSeams);
}

void CmdRunSetLogCommands(bool on) {
    cmdRunLogCommands = on;
}

void CmdRunSetHeapStatus(bool on) {
    cmdRunHeapStatus = on;
}

bool CmdRunLogCommandsOn() {
    return cmdRunLogCommands;
}

int32_t CurrentCommand() {
    return cmdRunCurrent;
}

int LastCommandResult() {
    return cmdRunLastResult;
}

bool CommandFromKey() {
    return cmdRunFromKey;
}

uint32_t LastCommandTime() {
    return cmdRunLastTime;
}

// ---- Resources

static bool CmdRunSystemMemory(uint64_t *availPageFile, uint64_t *availVirtual) {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return false;
    *availPageFile = status.ullAvailPageFile;
    *availVirtual = status.ullAvailVirtual;
    return true;
}

static bool CmdRunSkipResourceCheck() {
    if (cmdRunSkipCheck < 0) {
        int32_t skip = 0;
        RegQueryInt(RegUserProgramKey(), "SkipResourceCheck", &skip);
        cmdRunSkipCheck = skip != 0;
    }
    return cmdRunSkipCheck != 0;
}

bool SystemResourcesLow() {
    if (CmdRunSkipResourceCheck()) return false;
    uint64_t pageFile = 0, address = 0;
    bool known =
        cmdRunMemoryProbe ? cmdRunMemoryProbe(&pageFile, &address) : CmdRunSystemMemory(&pageFile, &address);
    return known && (pageFile < CMDRUN_LOW_BYTES || address < CMDRUN_LOW_BYTES);
}

bool ResourcesLow() {
    return SystemResourcesLow() || ErcLowMemorySeen();
}

bool ReportLowResources() {
    if (SystemResourcesLow()) {
        AlertError("System resources are too low.  Restart Windows soon!");
        return true;
    }
    if (!ErcLowMemorySeen()) return false;
    AlertError("Low on Memory.  Please close some files.");
    return true;
}

// ---- State

uint32_t GetCommandState() {
    CommandStateFacts facts = {};
    if (cmdRunHooks.stateFacts) cmdRunHooks.stateFacts(&facts);
    uint32_t state = ResourcesLow() ? (uint32_t)CMD_STATE_LOW : 0;
    if (facts.buffer) {
        if (facts.clipboardDocument) {
            state |= CMD_STATE_CLIPBOARD;
        } else {
            state |= CMD_STATE_BUFFER;
            if (facts.selection) state |= CMD_STATE_SELECTION;
            if (facts.canUndo) state |= CMD_STATE_UNDO;
            if (facts.canRedo) state |= CMD_STATE_REDO;
            if (facts.twoBuffers) state |= CMD_STATE_TWO_BUFFERS;
            if (facts.canPaste) state |= CMD_STATE_PASTE;
        }
        if (facts.nextWindow) state |= CMD_STATE_WINDOWS;
        if (facts.windowLink) state |= CMD_STATE_LINKED;
    } else {
        state |= CMD_STATE_NO_BUFFER;
    }
    if (facts.project) state |= CMD_STATE_PROJECT;
    if (facts.project && facts.readOnlyProject) state |= CMD_STATE_READ_ONLY_PROJECT;
    if (IsRecording()) state |= CMD_STATE_RECORDING;
    if (RecordingHasData()) state |= CMD_STATE_RECORDED;
    return state;
}

bool IsCommandEnabledNow(int32_t command) {
    CommandView view;
    GetCommandInfo(command, &view, nullptr, 0);
    return view.handler && IsCommandEnabled(&view, GetCommandState());
}

// ---- Running

static bool CmdRunMacroRunning() {
    return cmdRunHooks.macroRunning && cmdRunHooks.macroRunning();
}

static void CmdRunRepaint(bool whole) {
    if (cmdRunHooks.repaintSourceWindows) cmdRunHooks.repaintSourceWindows(whole);
}

// A disabled command: named to a macro, which cannot hear a beep; otherwise low resources are explained.
static void CmdRunRefuse(int32_t command) {
    if (CmdRunMacroRunning()) {
        char name[CMD_NAME_MAX];
        GetCommandName(command, name, sizeof name);
        AlertError("Command is not enabled: %s", name);
    } else if (!ReportLowResources()) {
        SoundBeepKind(CMDRUN_BEEP_REFUSED);
    }
}

static void CmdRunFreeCaches() {
    if (cmdRunHooks.freeSymbolCaches) cmdRunHooks.freeSymbolCaches();
    if (cmdRunHooks.freeCustomCommandCaches) cmdRunHooks.freeCustomCommandCaches();
}

// After a command that ran out of memory: everything that can be rebuilt is given back.
static void CmdRunRecoverMemory() {
    CmdRunFreeCaches();
    if (cmdRunHooks.closeIdleProjects) cmdRunHooks.closeIdleProjects(0);
    if (!cmdRunLowMemoryReported) AlertError("Not enough memory to complete operation.");
    cmdRunLowMemoryReported = true;
    CmdRunRepaint(true);
}

static void CmdRunPrepare(int32_t command, const CommandView *view) {
    if (view->handler != cmdRunHooks.typingHandler && cmdRunHooks.endTypingRun) cmdRunHooks.endTypingRun();
    bool dragging = command >= CMDRUN_DRAG_FIRST && command <= CMDRUN_DRAG_LAST;
    if (!dragging && cmdRunHooks.endCommandEdit) cmdRunHooks.endCommandEdit();
    cmdRunCurrent = command;
    bool recorderCommand = command >= CMDRUN_START_RECORDING && command <= CMDRUN_PLAY_RECORDING;
    if (IsRecording() && view->commandClass == CMD_CLASS_GLOBAL && !recorderCommand)
        RecordingAddCommand(command);
    if (cmdRunHooks.hideHoverTip) cmdRunHooks.hideHoverTip();
}

static void CmdRunLog(int32_t command) {
    if (!LogIsOn() || !cmdRunLogCommands) return;
    char name[CMD_NAME_MAX];
    GetCommandName(command, name, sizeof name);
    LogPrintf("command: %s", name);
}

static int CmdRunHandler(int32_t command, const CommandView *view, bool fromKey) {
    StatusModeClear();
    ErcClear();
    cmdRunFromKey = fromKey;
    CmdRunLog(command);
    int result = view->handler(command);
    cmdRunLastResult = result;
    cmdRunFromKey = false;
    if (result != 0 && IsRecording()) {
        RecordingRemoveLast();
        RecordingStop();
    }
    return result;
}

// Where a command leaves the dispatcher: at once, answering true or false; or at its end, where follow-ups
// may run (NEXT) or not (FINISH).
enum CmdRunStep { CMDRUN_RETURN_RAN, CMDRUN_RETURN_FAILED, CMDRUN_NEXT, CMDRUN_FINISH };

// The work after the handler: adopting a window, the heap figures, low memory, errors and repainting.
static CmdRunStep CmdRunAfter(int result) {
    if (cmdRunHooks.adoptActiveWindow) cmdRunHooks.adoptActiveWindow();
    if (cmdRunHeapStatus)
        StatusModePrintf("handles=%d, alloced=%u", (int)HLiveCount(), (unsigned)HeapTotal());
    if (ErcLowMemorySeen()) {
        CmdRunRecoverMemory();
        return CMDRUN_RETURN_FAILED;
    }
    cmdRunLowMemoryReported = false;
    bool low = ResourcesLow();
    if (low) CmdRunFreeCaches();
    ErcReport();
    CmdRunRepaint(false);
    cmdRunLastTime = TickNow();
    return result == 0 && !low ? CMDRUN_NEXT : CMDRUN_FINISH;
}

// One command of the run; *result is its handler's result, -1 when the handler was not called.
static CmdRunStep CmdRunOne(int32_t command, bool fromKey, int *result) {
    *result = -1;
    CommandView view;
    GetCommandInfo(command, &view, nullptr, 0);
    // A command of a window's own, or Esc, ends a recording instead of running into it.
    if ((command == CMDRUN_ESCAPE || view.commandClass != CMD_CLASS_GLOBAL) && IsRecording()) {
        RecordingStop();
        return CMDRUN_RETURN_RAN;
    }
    if (!view.handler) return CMDRUN_RETURN_RAN;
    CmdRunPrepare(command, &view);
    if (!IsCommandEnabled(&view, GetCommandState())) {
        CmdRunRefuse(command);
        return CMDRUN_RETURN_FAILED;
    }
    *result = CmdRunHandler(command, &view, fromKey);
    // Exit has closed everything: nothing may follow it.
    if (command == CMDRUN_EXIT || command == CMDRUN_EXIT_SUSPEND) return CMDRUN_RETURN_RAN;
    return CmdRunAfter(*result);
}

static bool CmdRunTypingRunOpen() {
    return cmdRunHooks.typingRunOpen && cmdRunHooks.typingRunOpen();
}

// The dispatcher; *result is the last handler's result, -1 when none was called.
static bool CmdRunDispatch(int32_t command, bool fromKey, int *result) {
    ClearPendingCommands();
    *result = -1;
    if (EndHelpMode()) {
        if (command != CMDRUN_ESCAPE && command != CMDRUN_HELP_MODE) HelpOnCommand(command);
        return true;
    }
    for (int32_t next = command;;) {
        CmdRunStep step = CmdRunOne(next, fromKey, result);
        if (step == CMDRUN_RETURN_RAN) return true;
        if (step == CMDRUN_RETURN_FAILED) return false;
        if (step == CMDRUN_FINISH || !PopPendingCommand(&next)) break;
    }
    if (*result == 0 && !CmdRunMacroRunning() && !CmdRunTypingRunOpen() && cmdRunHooks.appCommandEvent)
        cmdRunHooks.appCommandEvent(command);
    return *result == 0;
}

// Follow-ups belong to the command in hand: what a failing or last command leaves on the stack is dropped.
static bool CmdRunRun(int32_t command, bool fromKey, int *result) {
    bool ran = CmdRunDispatch(command, fromKey, result);
    ClearPendingCommands();
    return ran;
}

bool RunCommand(int32_t command, bool fromKey) {
    int result;
    return CmdRunRun(command, fromKey, &result);
}

int RunCommandByName(const char *name) {
    int32_t command = FindCommandByName(name);
    if (!command) return RunCustomOrMacroByName(name);
    int result;
    if (CmdRunRun(command, false, &result)) return 0;
    return result > 0 ? result : 1;
}

// ---- Row 109

// Hidden windows have nothing on the screen to redraw.
static BOOL CALLBACK CmdRunRedrawWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) return TRUE;
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return TRUE;
}

int CmdRedrawScreen(int32_t) {
    EnumThreadWindows(GetCurrentThreadId(), CmdRunRedrawWindow, 0);
    return 0;
}
