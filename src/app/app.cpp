// app: the hooks of the lower modules, registered with their owners. A hook a module holds but nobody
// registers answers its neutral answer, so each owner that exists is wired here.
#include "app/app.h"

#include "base/erc.h"
#include "base/inputpend.h"
#include "base/keyinp.h"
#include "base/trl.h"
#include "base/waitcur.h"
#include "base/wnd.h"
#include "shell/about.h"
#include "shell/cmd.h"
#include "shell/help.h"
#include "shell/instance.h"
#include "shell/keymap.h"
#include "shell/status.h"
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

// The toolbars' tooltips read the command table and the key map. The configuration's dirty mark joins them
// when the configuration module stands; until then a band resized by the user is not noted.
static const ToolbarHooks appToolbarHooks = {
    .commandName = GetCommandName,
    .commandDescription = GetCommandDescription,
    .keyForCommand = KeyForCommand,
    .keyName = KeyCodeName,
    .setConfigDirty = nullptr,
};

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
}
