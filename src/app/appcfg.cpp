// appcfg: the configuration's side of the program's wiring (prefix AppConfig). The configuration is portable
// and below the window library's menus, drawing layer and print manager in nothing: what it needs of them
// comes through the hooks registered here, and the owners of the sections whose records lower modules keep
// (the key map, the document types, the page setup) are registered here too.
#include "app/appcfg.h"

#include "base/file.h"
#include "base/heap.h"
#include "base/sound.h"
#include "base/sysprobe.h"
#include "base/wnd.h"
#include "display/opts.h"
#include "doc/dochook.h"
#include "shell/advopt.h"
#include "shell/cfgmenu.h"
#include "shell/cmdrun.h"
#include "shell/optdlg.h"
#include "shell/prefs.h"
#include "shell/prefsdlg.h"
#include "shell/cfgsect.h"
#include "shell/config.h"
#include "ui/dock.h"
#include "ui/draw.h"
#include "ui/menu.h"
#include "ui/printman.h"
#include "ui/theme.h"

#include <cstring>

// ---- The window library's answers

static void AppConfigRedrawAll() {
    HWND frame = WndGetAppFrame();
    if (frame) RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

static void AppConfigBackgroundChanged() {
    HWND client = WndGetMdiClient();
    if (client) InvalidateRect(client, nullptr, TRUE);
}

static uint32_t AppConfigBackgroundColor() {
    return GetSysColor(COLOR_APPWORKSPACE);
}

static void AppConfigDialogFont(FontDesc *out) {
    *out = drawMetrics.guiFontDesc;
}

static const ConfigHooks appConfigHooks = {
    .windowMenuRebuild = nullptr,   // the Window menu's entries come with the frame
    .redrawSourceWindows = nullptr, // source windows come with the display
    .redrawAllWindows = AppConfigRedrawAll,
    .appBackgroundChanged = AppConfigBackgroundChanged,
    .showWindows = nullptr, // the browsing windows come with their subsystem
    .rebuildToolbars = nullptr,
    .hiColor = DrawIsHiColor,
    .appBackgroundColor = AppConfigBackgroundColor,
    .themeActive = ThemeIsActive,
    .dialogFont = AppConfigDialogFont,
};

// ---- The menu bar

// Each menu of the set becomes a record under its name; the bar changes only when every record was made.
static bool AppConfigMenuInstall(const ConfigMenuSet *set) {
    MenuTable table = {};
    for (int32_t m = 0; m < set->count; m++) {
        const ConfigMenuList *list = &set->menus[m];
        static const int32_t none[] = {0};
        table.menus[m] = MenuCreateRecord(ConfigMenuTitle(m), list->count, list->count ? list->items : none);
        table.count = m + 1;
        if (!table.menus[m]) {
            MenuFreeSaved(&table);
            return false;
        }
    }
    MenuSetAll(&table);
    return true;
}

static const ConfigMenuHooks appConfigMenuHooks = {
    .count = MenuCount,
    .commands = MenuGetCommands,
    .install = AppConfigMenuInstall,
    .clear = MenuClearAll,
};

// ---- The page setup (slot 11)

static PrintSetup appPrintSetup;
static PrintSetup appPrintStaged;

PrintSetup *AppPrintSetup() {
    return &appPrintSetup;
}

static bool AppConfigPrintWrite(int file) {
    return FileWriteExact(file, &appPrintSetup, sizeof appPrintSetup);
}

// An older, shorter record is read as far as it goes; the rest stays zero.
static bool AppConfigPrintRead(int file, const ConfigSection *section) {
    memset(&appPrintStaged, 0, sizeof appPrintStaged);
    uint32_t size = section->size < sizeof appPrintStaged ? section->size : (uint32_t)sizeof appPrintStaged;
    return FileReadExact(file, &appPrintStaged, (int32_t)size);
}

static void AppConfigPrintApply(const ConfigSection *) {
    PrintSetupNormalize(&appPrintStaged);
    appPrintSetup = appPrintStaged;
}

static void AppConfigPrintDefaults() {
    PrintSetupDefaults(&appPrintSetup);
}

static void AppConfigPrintDiscard() {
    memset(&appPrintStaged, 0, sizeof appPrintStaged);
}

static const ConfigOwner appPrintOwner = {AppConfigPrintWrite, AppConfigPrintRead, AppConfigPrintApply,
                                          AppConfigPrintDefaults, AppConfigPrintDiscard};

// ---- The document core's options

static DocOptions appDocOptions;

// The document core's view of the option words, made afresh at each question.
static const DocOptions *AppConfigDocOptions() {
    DocOptions *o = &appDocOptions;
    *o = *DocOptionsNeutral();
    o->eolDefault = g_lineEndFormat;
    o->backSavedByCopy = g_options & OPT_SHARING;
    o->markReadOnly = g_viewOptions & VIEW_READ_ONLY_MARK;
    o->editReadOnly = g_options & OPT_EDIT_READ_ONLY;
    o->ctrlZEndsText = g_options2 & OPT2_CTRL_Z_EOF;
    o->makeBackups = g_options2 & OPT2_MAKE_BACKUPS;
    o->trimOnSave = g_options2 & OPT2_TRIM_ON_SAVE;
    o->purgeBackups = g_options3 & OPT3_PURGE_BACKUPS;
    o->purgeDays = g_backupDays;
    o->changedLineMarks = g_viewOptions & VIEW_REVISION_MARKS;
    o->undoLevels = g_undoSteps;
    return o;
}

static int32_t AppConfigDirty(int flag) {
    return SetConfigDirty(flag);
}

// Command logging is the dispatcher's; the projects, the format cache and the program runner come with their
// subsystems.
static const AdvancedHooks appAdvancedHooks = {
    .logCommands = CmdRunSetLogCommands,
    .closeBackgroundProjects = nullptr,
    .flushFormatCache = nullptr,
    .refreshCacheWindows = nullptr,
    .runProgram = nullptr,
    .advancedDialog = OptDlgAdvanced,
    .loggingDialog = OptDlgLogging,
    .trackingDialog = OptDlgTracking,
};

// The Preferences' answers that stand today. Until the property sheets stand, the sheet shows the page it
// opens at by itself.
static bool AppConfigCtrlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

static int AppConfigAdvanced() {
    return CmdAdvancedOptions(0);
}

static PrefsHooks AppConfigPrefsHooks() {
    PrefsHooks hooks = {};
    hooks.runSheet = PrefsDlgRunSheet;
    hooks.ctrlDown = AppConfigCtrlDown;
    hooks.advancedOptions = AppConfigAdvanced;
    hooks.loggingOptions = LoggingOptionsDialog;
    hooks.beep = SoundBeep;
    hooks.remoteSession = SysIsRemoteSession;
    return hooks;
}

void AppWireConfig() {
    PrefsHooks prefs = AppConfigPrefsHooks();
    PrefsSetHooks(&prefs);
    AdvancedSetHooks(&appAdvancedHooks);
    ConfigSetHooks(&appConfigHooks);
    ConfigSetMenuHooks(&appConfigMenuHooks);
    ConfigSetOwner(CONFIG_SLOT_KEYMAP, &configKeyMapOwner);
    ConfigSetOwner(CONFIG_SLOT_DOCTYPES, &configDocTypesOwner);
    ConfigSetOwner(CONFIG_SLOT_PRINTER, &appPrintOwner);
    DockSetConfigDirtyHook(AppConfigDirty);
    DrawSetTexturesHook(UseBackgroundTextures);
    DocShellHook shell = DocShell(); // the rest of the table is wired beside the other shell services
    shell.options = AppConfigDocOptions;
    shell.setConfigDirty = AppConfigDirty;
    DocSetShellHook(&shell);
}
