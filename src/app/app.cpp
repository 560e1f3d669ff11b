// app: the hooks of the lower modules, registered with their owners. A hook a module holds but nobody
// registers answers its neutral answer, so each owner that exists is wired here.
#include "app/app.h"

#include "app/appcfg.h"

#include "base/erc.h"
#include "base/inputpend.h"
#include "base/keyinp.h"
#include "base/sound.h"
#include "base/trl.h"
#include "base/waitcur.h"
#include "base/wnd.h"
#include "display/sw.h"
#include "doc/doc.h"
#include "doc/docedit.h"
#include "doc/dochook.h"
#include "doc/insert.h"
#include "doc/sel.h"
#include "doc/undo.h"
#include "shell/about.h"
#include "display/opts.h"
#include "display/format.h"
#include "display/style.h"
#include "shell/cmd.h"
#include "shell/cmdrun.h"
#include "shell/framehook.h"
#include "shell/config.h"
#include "shell/help.h"
#include "shell/hubinit.h"
#include "shell/instance.h"
#include "shell/keymap.h"
#include "shell/recorder.h"
#include "shell/status.h"
#include "shell/vars.h"
#include "ui/dlgalert.h"
#include "ui/dlgrun.h"
#include "ui/dock.h"
#include "ui/draw.h"
#include "ui/graph.h"
#include "ui/menu.h"
#include "ui/printman.h"
#include "ui/toolbar.h"

// The menus' own answers to the command engine.
static void AppMenuInvalidate(int32_t command) {
    MenuInvalidateCmd(command);
}

static bool AppMenuHolds(int32_t command) {
    return MenuIndexOfCmd(command) >= 0;
}

// A menu's description goes to the status bar like any message: not while messages are suspended, so that
// help mode's prompt stays while the user looks through the menus.
static void AppMenuStatusMessage(const char *text) {
    StatusPrintf("%s", text);
}

// The shell's services that the window library's menus, toolbars and lists use. The command-state update
// and the status bar's position cache come with the shell's frame and status bar.
static const MenuShellHooks appMenuShell = {
    .commandName = GetCommandName,
    .commandDescription = GetCommandDescription,
    .commandMasks = GetCommandMasks,
    .commandSubmenu = CallSubmenuHandler,
    .commandKey = KeyForCommand,
    .keyName = KeyCodeName,
    .keyToCommand = KeyToCommand,
    .updateCommandStates = nullptr,
    .statusResetPosCache = nullptr,
    .statusMessage = AppMenuStatusMessage,
    .helpModeIsOn = HelpModeIsOn,
};

static const CmdHooks appCmdHooks = {
    .dynamicText = nullptr,
    .findCustomCommand = nullptr,
    .menuInvalidate = AppMenuInvalidate,
    .menuRemove = MenuRemoveCmd,
    .menuHolds = AppMenuHolds,
    .resetMacroHandles = nullptr,
};

// A band resized by the user changes the configuration.
static void AppToolbarConfigDirty(bool flag) {
    SetConfigDirty(flag);
}

// The toolbars' tooltips read the command table and the key map.
static const ToolbarHooks appToolbarHooks = {
    .commandName = GetCommandName,
    .commandDescription = GetCommandDescription,
    .keyForCommand = KeyForCommand,
    .keyName = KeyCodeName,
    .setConfigDirty = AppToolbarConfigDirty,
};
// The printed default colours of the display's colour settings.
static void AppPrintColours(uint32_t *fore, uint32_t *back) {
    *fore = OptColor(OPT_COLOR_PRINT_TEXT);
    *back = OptColor(OPT_COLOR_PRINT_WINDOW);
}

// What the document core asks of the display that the display answers today; the source windows' part
// comes with them.
static void AppWireDisplay() {
    DocDisplayHook display = *DocDisplayNeutral();
    display.flushFormatCache = FlushFormatCache;
    display.styleDefaultFore = StyleDefaultFore;
    display.styleDefaultBack = StyleDefaultBack;
    display.styleBaseColour13 = StyleDefaultShadow;
    display.printColours = AppPrintColours;
    DocSetDisplayHook(&display);
}

// Source windows reach the key map and the dispatcher.
static const SwCommandHook appSwCommands = {
    .keyToCommand = KeyToCommand,
    .runCommand = RunCommand,
};

static void AppEndTypingRun() {
    EndTypingRun();
}

// The facts of the current buffer that the command masks test, from the current source window; the frame's
// window list and the projects join them when they stand.
static void AppStateFacts(CommandStateFacts *facts) {
    HWND window = SwCurrent();
    FileBuffer *doc = window ? SwGetDoc(window) : nullptr;
    if (!doc) return;
    bool writable = DocMayModify(doc);
    facts->buffer = true;
    facts->clipboardDocument = doc == DocClipboardDoc();
    facts->selection = !SelIsEmpty(SwGetSel(window));
    facts->canUndo = writable && UndoCanUndo(doc);
    facts->canRedo = writable && UndoCanRedo(doc);
}

// The dispatcher ends the typing run before every command but the typing commands.
static const CmdRunHooks appCmdRunHooks = {
    .stateFacts = AppStateFacts,
    .typingHandler = TypingCommand,
    .endTypingRun = AppEndTypingRun,
    .typingRunOpen = IsTypingRun,
    .endCommandEdit = nullptr,
    .hideHoverTip = nullptr,
    .macroRunning = nullptr,
    .appCommandEvent = nullptr,
    .freeSymbolCaches = nullptr,
    .freeCustomCommandCaches = nullptr,
    .closeIdleProjects = nullptr,
    .adoptActiveWindow = nullptr,
    .repaintSourceWindows = nullptr,
};

// Typing and the other edits of the document core act only while the program runs.
static bool AppNotRunning() {
    return g_appRunState != APP_RUNNING;
}

// The shell's services the document core asks for, as far as the shell has them.
static void AppWireDocShell() {
    DocShellHook shell = *DocShellNeutral();
    shell.notRunning = AppNotRunning;
    shell.makeTempFile = MakeTempFile;
    shell.beep = SoundBeepKind;
    shell.commandLogging = CmdRunLogCommandsOn;
    shell.isRecording = IsRecording;
    shell.recordingRemoveLast = RecordingRemoveLast;
    DocSetShellHook(&shell);
}

static void AppFocusFrontWindow() {
    if (HWND window = SwCurrent()) SetFocus(window);
}

// The frame ends the typing run when it loses the activation, and gives the focus to the front source
// window.
static void AppWireFrame() {
    FrameDocHook doc = *FrameDocNeutral();
    doc.endTypingRun = AppEndTypingRun;
    FrameSetDocHook(&doc);
    FrameDisplayHook display = *FrameDisplayNeutral();
    display.focusFrontWindow = AppFocusFrontWindow;
    FrameSetDisplayHook(&display);
}

// The wait cursor is the drawing layer's, and a progress box shows its own.
static const WaitCursorHooks appWaitCursorHooks = {
    .cursor = DrawWaitCursor,
    .progressOpen = ProgressIsOpen,
};

void AppWireHooks() {
    ErcSetAlertHook(AlertReportError);
    TrlSetProgressHook(ProgressStep);
    WaitCursorSetHooks(&appWaitCursorHooks);
    KeySetCanceledHook(StatusCanceled);
    InputSetRequestsHook(InstanceMsgPending);
    GraphSetHelpModeHook(HelpModeIsOn);
    DlgSetDockEnableHook(DockWindowsEnable);
    DlgSetSplashHook(CloseSplash);
    DlgSetHelpHook(ShowHelpTopic);
    PrinterInit(); // the print manager's printer becomes device 1 of the drawing layer
    MenuSetShellHooks(&appMenuShell);
    CmdSetHooks(&appCmdHooks);
    WndSetMenuHelpHook(MenuOnSelect);
    ToolbarSetHooks(&appToolbarHooks);
    AppWireDisplay();
    AppWireDocShell();
    SwInstallHooks();
    SwSetCommandHook(&appSwCommands);
    CmdRunSetHooks(&appCmdRunHooks);
    AppWireFrame();
    AppWireConfig();
}
