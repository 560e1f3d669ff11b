// prefs: the Preferences (prefixes Prefs, CmdPreferences). The pages are descriptions: a table that binds
// each record word to its option word, and the procedures of what no binding says. This module holds the
// engine, the command, and the pages that take effect when applied (General, Typing, Files, Symbol Lookups,
// Searching, Remote, Folders); the pages whose changes show at once are prefsview's, Languages prefslang's.
#include "shell/prefs.h"

#include "base/folder.h"
#include "base/heap.h"
#include "base/path.h"
#include "base/str.h"
#include "base/utilil.h"
#include "display/opts.h"
#include "shell/cfgedit.h"
#include "shell/cmd.h"
#include "shell/prefspage.h"
#include "shell/setting.h"
#include "ui/dlgalert.h"

#include <cstdio>
#include <cstring>

enum { PREFS_ANSWER_YES = 6 }; // the system's IDYES

// ---- Hooks

static PrefsHooks prefsHooks;

// Every member of the neutral table: nothing done, no, 0 or an empty text.
static void PrefsNothing() {}
static void PrefsNothingOn(bool) {}
static bool PrefsNo() {
    return false;
}
static int PrefsCancelled() {
    return 2;
}
static bool PrefsNoColor(const char *, uint32_t *) {
    return false;
}
static bool PrefsNoText(char *) {
    return false;
}
static int32_t PrefsOneLanguage() {
    return 1;
}
static void PrefsLanguageNone(int32_t, char *out) {
    strcpy(out, "None");
}
static int32_t PrefsZero() {
    return 0;
}
static bool PrefsNoLanguageProperty(int32_t) {
    return false;
}
static uint32_t PrefsNoParseState(int32_t) {
    return 0;
}
static void PrefsNoLanguageWork(int32_t) {}
static void PrefsNoMark(uint32_t) {}
static void PrefsNoScript(char *name, bool set) {
    if (!set) name[0] = 0;
}
static void PrefsEmptyFolder(int32_t, char *out) {
    out[0] = 0;
}
static bool PrefsNoFolderSet(int32_t, const char *) {
    return false;
}
static bool PrefsNoAskFolder(const char *, char *) {
    return false;
}
static void PrefsEmpty(char *out) {
    out[0] = 0;
}

static const PrefsHooks prefsNeutral = {
    .runSheet = nullptr,
    .ctrlDown = PrefsNo,
    .advancedOptions = PrefsCancelled,
    .loggingOptions = PrefsCancelled,
    .beep = PrefsNothing,
    .styleSheetCopy = PrefsNo,
    .styleSheetDone = PrefsNothingOn,
    .saveFocus = PrefsNothing,
    .restoreFocus = PrefsNothing,
    .syncDueNow = PrefsNothing,
    .macroEvents = PrefsNothingOn,
    .strictConfirm = PrefsNothingOn,
    .sameMonitor = PrefsNothingOn,
    .statusShow = PrefsNothingOn,
    .toolbarShow = PrefsNothingOn,
    .statusRefresh = PrefsNothing,
    .retitleWindows = PrefsNothing,
    .redrawFrame = PrefsNothing,
    .applyTheme = PrefsNothing,
    .resetToolbars = PrefsNothing,
    .remoteSession = PrefsNo,
    .styleProperties = PrefsNothing,
    .spacingChanged = PrefsNothing,
    .askColor = PrefsNoColor,
    .docTypes = PrefsNothing,
    .backupFolder = PrefsNoText,
    .languageCount = PrefsOneLanguage,
    .languageName = PrefsLanguageNone,
    .languageAtCaret = PrefsZero,
    .languageHasKeywords = PrefsNoLanguageProperty,
    .languageButton = nullptr,
    .languageParseState = PrefsNoParseState,
    .projectOpen = PrefsNo,
    .reparseProject = PrefsNoLanguageWork,
    .reparseOpenFiles = PrefsNoLanguageWork,
    .markParseChanged = PrefsNoMark,
    .defaultScript = PrefsNoScript,
    .askProject = PrefsNoText,
    .setupCommonProjects = PrefsNothing,
    .folderGet = PrefsEmptyFolder,
    .folderSet = PrefsNoFolderSet,
    .askFolder = PrefsNoAskFolder,
    .documentsFolder = PrefsEmpty,
};

// A member left null takes the neutral one; runSheet and languageButton stay null, which their callers test.
template <typename T>
static void PrefsTake(T *member, T neutral) {
    if (!*member) *member = neutral;
}

void PrefsSetHooks(const PrefsHooks *hooks) {
    PrefsHooks h = hooks ? *hooks : prefsNeutral;
    const PrefsHooks &n = prefsNeutral;
    PrefsTake(&h.ctrlDown, n.ctrlDown);
    PrefsTake(&h.advancedOptions, n.advancedOptions);
    PrefsTake(&h.loggingOptions, n.loggingOptions);
    PrefsTake(&h.beep, n.beep);
    PrefsTake(&h.styleSheetCopy, n.styleSheetCopy);
    PrefsTake(&h.styleSheetDone, n.styleSheetDone);
    PrefsTake(&h.saveFocus, n.saveFocus);
    PrefsTake(&h.restoreFocus, n.restoreFocus);
    PrefsTake(&h.syncDueNow, n.syncDueNow);
    PrefsTake(&h.macroEvents, n.macroEvents);
    PrefsTake(&h.strictConfirm, n.strictConfirm);
    PrefsTake(&h.sameMonitor, n.sameMonitor);
    PrefsTake(&h.statusShow, n.statusShow);
    PrefsTake(&h.toolbarShow, n.toolbarShow);
    PrefsTake(&h.statusRefresh, n.statusRefresh);
    PrefsTake(&h.retitleWindows, n.retitleWindows);
    PrefsTake(&h.redrawFrame, n.redrawFrame);
    PrefsTake(&h.applyTheme, n.applyTheme);
    PrefsTake(&h.resetToolbars, n.resetToolbars);
    PrefsTake(&h.remoteSession, n.remoteSession);
    PrefsTake(&h.styleProperties, n.styleProperties);
    PrefsTake(&h.spacingChanged, n.spacingChanged);
    PrefsTake(&h.askColor, n.askColor);
    PrefsTake(&h.docTypes, n.docTypes);
    PrefsTake(&h.backupFolder, n.backupFolder);
    PrefsTake(&h.languageCount, n.languageCount);
    PrefsTake(&h.languageName, n.languageName);
    PrefsTake(&h.languageAtCaret, n.languageAtCaret);
    PrefsTake(&h.languageHasKeywords, n.languageHasKeywords);
    PrefsTake(&h.languageParseState, n.languageParseState);
    PrefsTake(&h.projectOpen, n.projectOpen);
    PrefsTake(&h.reparseProject, n.reparseProject);
    PrefsTake(&h.reparseOpenFiles, n.reparseOpenFiles);
    PrefsTake(&h.markParseChanged, n.markParseChanged);
    PrefsTake(&h.defaultScript, n.defaultScript);
    PrefsTake(&h.askProject, n.askProject);
    PrefsTake(&h.setupCommonProjects, n.setupCommonProjects);
    PrefsTake(&h.folderGet, n.folderGet);
    PrefsTake(&h.folderSet, n.folderSet);
    PrefsTake(&h.askFolder, n.askFolder);
    PrefsTake(&h.documentsFolder, n.documentsFolder);
    prefsHooks = h;
}

const PrefsHooks &PrefsHook() {
    if (!prefsHooks.ctrlDown) PrefsSetHooks(nullptr);
    return prefsHooks;
}

// ---- The engine

static uint32_t PrefsFieldMask(const PrefsBinding &b) {
    return b.width >= 32 ? UINT32_MAX : ((1u << b.width) - 1) << b.shift;
}

void PrefsPageFill(const PrefsPageDesc *page, PrefsRecord *record) {
    for (int32_t i = 0; i < page->count; i++) {
        const PrefsBinding &b = page->bindings[i];
        if (b.kind == PREFS_BITS)
            record->values[i] = (int32_t)((*(uint32_t *)b.word & PrefsFieldMask(b)) >> b.shift);
        if (b.kind == PREFS_NUMBER) record->values[i] = *(int32_t *)b.word;
    }
}

void PrefsPageStoreOne(const PrefsPageDesc *page, const PrefsRecord *record, int32_t control) {
    if (control < 0 || control >= page->count) return;
    const PrefsBinding &b = page->bindings[control];
    int32_t value = record->values[control];
    if (b.kind == PREFS_NUMBER) *(int32_t *)b.word = value;
    if (b.kind != PREFS_BITS) return;
    uint32_t *word = (uint32_t *)b.word;
    *word = (*word & ~PrefsFieldMask(b)) | (((uint32_t)value << b.shift) & PrefsFieldMask(b));
}

void PrefsPageStore(const PrefsPageDesc *page, const PrefsRecord *record) {
    for (int32_t i = 0; i < page->count; i++) PrefsPageStoreOne(page, record, i);
}

bool PrefsPageAskYes(const char *text) {
    return AlertBox(text, ALERT_YESNO, 0) == PREFS_ANSWER_YES;
}

// ---- General

static const PrefsBinding prefsGeneralBindings[] = {
    PrefsBit(&g_options, 20),        PrefsOwn(),
    PrefsNumber(&g_recoverySeconds), PrefsBit(&g_options, 16),
    PrefsBit(&g_options, 14),        PrefsBit(&g_options3, 7),
    PrefsBit(&g_options, 6),         PrefsBit(&g_options, 0),
    PrefsNumber(&g_syncMinutes),     PrefsBit(&g_options2, 17),
    PrefsBit(&g_options3, 5),        PrefsBit(&g_options3, 8),
    PrefsBit(&g_options3, 9),
};

static bool prefsSyncWasOn;

// Source tips: None, Short (bit 1) or Verbose (bits 1 and 2).
static void PrefsGeneralCreate(PrefsRecord *record) {
    bool on = g_options2 & OPT2_SOURCE_TIPS, verbose = g_options2 & OPT2_SOURCE_TIPS_VERBOSE;
    record->values[PG_TIPS] = on ? (verbose ? 2 : 1) : 0;
    prefsSyncWasOn = g_options & OPT_SYNC_ON_OPEN;
}

static void PrefsGeneralApply(PrefsRecord *record) {
    record->values[PG_RECOVERY] = Max(record->values[PG_RECOVERY], 1);
    record->values[PG_SYNC_MINUTES] = Max(record->values[PG_SYNC_MINUTES], 1);
    int32_t tips = record->values[PG_TIPS];
    g_options2 &= ~(OPT2_SOURCE_TIPS | OPT2_SOURCE_TIPS_VERBOSE);
    if (tips >= 1) g_options2 |= OPT2_SOURCE_TIPS;
    if (tips >= 2) g_options2 |= OPT2_SOURCE_TIPS_VERBOSE;
}

// After the words are stored: what other modules keep of them.
static void PrefsGeneralAfter(const PrefsRecord *record) {
    const PrefsHooks &h = PrefsHook();
    if (record->values[PG_SYNC_ON_OPEN] && !prefsSyncWasOn) h.syncDueNow();
    h.macroEvents(record->values[PG_EVENTS] != 0);
    h.strictConfirm(record->values[PG_STRICT_CONFIRM] != 0);
    h.sameMonitor(record->values[PG_SAME_MONITOR] != 0);
}

static const PrefsPageDesc prefsGeneralPage = {71,
                                               "General Options",
                                               prefsGeneralBindings,
                                               PrefsCount(prefsGeneralBindings),
                                               PrefsGeneralCreate,
                                               nullptr,
                                               nullptr,
                                               PrefsGeneralApply,
                                               nullptr};

// ---- Typing

static const PrefsBinding prefsTypingBindings[] = {
    PrefsBit(&g_options, 11),    PrefsBit(&g_options, 12),           PrefsBit(&g_options3, 4),
    PrefsBit(&g_options2, 5),    PrefsBit(&g_options2, 22),          PrefsBit(&g_options2, 23),
    PrefsBit(&g_options3, 2),    PrefsBit(&g_options3, 0),           PrefsBit(&g_options2, 26),
    PrefsNumber(&g_pasteSelect), PrefsBit(&g_options, 18),           PrefsBit(&g_options2, 3),
    PrefsBit(&g_options2, 9),    PrefsNumber(&g_spaceBetweenParams), PrefsNumber(&g_spaceAfterFuncName),
    PrefsBit(&g_options2, 12),   PrefsBit(&g_options2, 13),          PrefsBit(&g_options2, 18),
    PrefsBit(&g_options2, 10),   PrefsBit(&g_options2, 11),
};

// The two tab behaviours exclude each other.
static void PrefsTypingChanged(PrefsRecord *record, int32_t control) {
    if (control == PT_TAB_INDENTS && record->values[control]) record->values[PT_TAB_REPLACES] = 0;
    if (control == PT_TAB_REPLACES && record->values[control]) record->values[PT_TAB_INDENTS] = 0;
}

static void PrefsTypingApply(PrefsRecord *record) {
    record->values[PT_PASTE_SELECT] = Clamp(record->values[PT_PASTE_SELECT], OPT_PASTE_START, OPT_PASTE_ALL);
    record->values[PT_SPACE_PARAMS] = record->values[PT_SPACE_PARAMS] != 0;
    record->values[PT_SPACE_NAME] = record->values[PT_SPACE_NAME] != 0;
}

static const PrefsPageDesc prefsTypingPage = {494,
                                              "Typing",
                                              prefsTypingBindings,
                                              PrefsCount(prefsTypingBindings),
                                              nullptr,
                                              PrefsTypingChanged,
                                              nullptr,
                                              PrefsTypingApply,
                                              nullptr};

// ---- Files

static const PrefsBinding prefsFilesBindings[] = {
    PrefsBit(&g_options, 23),   PrefsBit(&g_options, 24),
    PrefsBit(&g_options, 26),   PrefsBit(&g_options2, 16),
    PrefsBit(&g_options2, 0),   PrefsBit(&g_options3, 10),
    PrefsNumber(&g_backupDays), PrefsBit(&g_options2, 25),
    PrefsBit(&g_options, 3),    PrefsBit(&g_options, 25),
    PrefsBit(&g_options, 1),    PrefsBit(&g_options2, 20),
    PrefsBit(&g_options2, 24),  PrefsBit(&g_options, 27),
    PrefsBit(&g_options, 29),   PrefsOwn(),
};

static void PrefsFilesCreate(PrefsRecord *record) {
    record->values[PF_LINE_END] = Clamp((int32_t)g_lineEndFormat, OPT_LINE_END_CRLF, OPT_LINE_END_CR) - 1;
}

static void PrefsFilesChanged(PrefsRecord *record, int32_t control) {
    if (control == PF_SHARING)
        AlertBox("Changes to file sharing options will only affect files that are opened from now on.",
                 ALERT_INFO, 0);
    if (control == PF_OVERWRITE_READ_ONLY && record->values[control] &&
        !PrefsPageAskYes(
            "Are you SURE you want to always overwrite read-only files?  If you answer 'No', you "
            "will still be able to overwrite them on an individual file basis."))
        record->values[control] = 0;
}

static bool PrefsFilesEnabled(const PrefsRecord *record, int32_t control) {
    return (control != PF_BACKGROUND_RELOAD && control != PF_ASK_RELOAD) || record->values[PF_SHARING];
}

static void PrefsFilesApply(PrefsRecord *record) {
    g_lineEndFormat = (uint32_t)Clamp(record->values[PF_LINE_END], 0, 2) + OPT_LINE_END_CRLF;
    record->values[PF_BACKUP_DAYS] = Clamp(record->values[PF_BACKUP_DAYS], 0, OPT_BACKUP_DAYS_MAX);
}

// Backups need a folder to go to.
static void PrefsFilesAfter(const PrefsRecord *) {
    char folder[PATH_BUFFER];
    if (!(g_options2 & OPT2_MAKE_BACKUPS) || (PrefsHook().backupFolder(folder) && folder[0])) return;
    g_options2 &= ~OPT2_MAKE_BACKUPS;
    AlertError("The backup directory doesn't exist.  Backups cannot be performed.");
}

static const PrefsPageDesc prefsFilesPage = {369,
                                             "File Options",
                                             prefsFilesBindings,
                                             PrefsCount(prefsFilesBindings),
                                             PrefsFilesCreate,
                                             PrefsFilesChanged,
                                             PrefsFilesEnabled,
                                             PrefsFilesApply,
                                             nullptr};

// "Project File List", "Project File Browser", "Load File...", "Browse Files...".
static const int32_t prefsOpenCommands[] = {460, 466, 342, 294};

int32_t PrefsOpenCommandChoice() {
    for (int32_t i = 0; i < 4; i++)
        if (prefsOpenCommands[i] == g_openCommand) return i;
    return 0;
}

void PrefsSetOpenCommandChoice(int32_t choice) {
    g_openCommand = prefsOpenCommands[Clamp(choice, 0, 3)];
    SetConfigDirty(1);
}

// ---- Symbol Lookups

static const PrefsBinding prefsLookupsBindings[] = {
    PrefsBit(&g_options, 2),
    PrefsBit(&g_options2, 19),
    PrefsBit(&g_options3, 6),
    PrefsBit(&g_options2, 4),
    PrefsBit(&g_options, 13),
    PrefsBit(&g_options3, 1),
    PrefsOwn(),
};

static void PrefsLookupsCreate(PrefsRecord *record) {
    StrCopyMaxLen(ConfigSymbolPath(), record->symbolPath, PREFS_PATH_SIZE - 1);
}

static void PrefsLookupsApply(PrefsRecord *record) {
    if (strcmp(record->symbolPath, ConfigSymbolPath()) != 0) ConfigSetSymbolPath(record->symbolPath);
}

static const PrefsPageDesc prefsLookupsPage = {495,
                                               "Symbol Lookups",
                                               prefsLookupsBindings,
                                               PrefsCount(prefsLookupsBindings),
                                               PrefsLookupsCreate,
                                               nullptr,
                                               nullptr,
                                               PrefsLookupsApply,
                                               nullptr};

void PrefsLookupsAddProject(PrefsRecord *record) {
    char path[PATH_BUFFER] = "";
    if (!PrefsHook().askProject(path) || !path[0]) return;
    char text[PATH_BUFFER + 128];
    snprintf(text, sizeof text,
             "The project file %s cannot be found.\n\n Do you still want to add it to the symbol path?",
             path);
    if (!FileExists(path) && !PrefsPageAskYes(text)) return;
    size_t length = strlen(record->symbolPath);
    if (length + strlen(path) + 2 > PREFS_PATH_SIZE) return;
    if (length && record->symbolPath[length - 1] != ';') strcat(record->symbolPath, ";");
    strcat(record->symbolPath, path);
}

// ---- Searching

static const PrefsBinding prefsSearchingBindings[] = {PrefsField(&g_options2, 7, 2),
                                                      PrefsBit(&g_options2, 27), PrefsBit(&g_options2, 14),
                                                      PrefsBit(&g_options3, 3)};

static const PrefsPageDesc prefsSearchingPage = {491,
                                                 "Searching",
                                                 prefsSearchingBindings,
                                                 PrefsCount(prefsSearchingBindings),
                                                 nullptr,
                                                 nullptr,
                                                 nullptr,
                                                 nullptr,
                                                 nullptr};

// ---- Remote

int32_t g_remoteOptions[PREFS_REMOTE_COUNT] = {0, 0, 0, 0, 0, 0, 0, 100, 0};

static const char *const prefsRemoteNames[PREFS_REMOTE_COUNT] = {
    "RemoteNoTransparency", "RemoteNoLogo",    "RemoteNoGradients", "RemoteNoAnimations",   "RemoteNoThemes",
    "RemoteNoSmoothScroll", "RemoteNoShadows", "RemoteFontScale",   "RemoteNoDoubleBuffer",
};
static const char prefsOptionsKey[] = "Options";

static int32_t PrefsRemoteBound(int32_t i, int32_t value) {
    return i == PREFS_REMOTE_FONT_SCALE ? Clamp(value, 100, 200) : value != 0;
}

void PrefsRemoteLoad() {
    for (int32_t i = 0; i < PREFS_REMOTE_COUNT; i++) {
        SettingGetInt(prefsOptionsKey, prefsRemoteNames[i], &g_remoteOptions[i]);
        g_remoteOptions[i] = PrefsRemoteBound(i, g_remoteOptions[i]);
    }
}

// The page shows what is stored, which the next start takes into use.
static void PrefsRemoteCreate(PrefsRecord *record) {
    for (int32_t i = 0; i < PREFS_REMOTE_COUNT; i++) {
        record->values[i] = g_remoteOptions[i];
        SettingGetInt(prefsOptionsKey, prefsRemoteNames[i], &record->values[i]);
    }
}

static void PrefsRemoteApply(PrefsRecord *record) {
    bool differs = false;
    for (int32_t i = 0; i < PREFS_REMOTE_COUNT; i++) {
        record->values[i] = PrefsRemoteBound(i, record->values[i]);
        SettingSetInt(prefsOptionsKey, prefsRemoteNames[i], record->values[i]);
        differs = differs || record->values[i] != g_remoteOptions[i];
    }
    if (differs)
        AlertBox("Remote Session preferences will not take effect until you restart Veltrix.", ALERT_INFO, 0);
}

static const PrefsBinding prefsRemoteBindings[PREFS_REMOTE_COUNT] = {PrefsOwn(), PrefsOwn(), PrefsOwn(),
                                                                     PrefsOwn(), PrefsOwn(), PrefsOwn(),
                                                                     PrefsOwn(), PrefsOwn(), PrefsOwn()};

static const PrefsPageDesc prefsRemotePage = {650,
                                              "Remote",
                                              prefsRemoteBindings,
                                              PREFS_REMOTE_COUNT,
                                              PrefsRemoteCreate,
                                              nullptr,
                                              nullptr,
                                              PrefsRemoteApply,
                                              nullptr};

// ---- Folders

static const char *const prefsFolderTitles[PREFS_FOLDER_COUNT] = {
    "Veltrix User Data Folder", "Veltrix Settings Folder", "Veltrix Projects Folder",
    "Veltrix Backup Folder",    "Veltrix Clips Folder",
};
static const char *const prefsFolderNames[PREFS_FOLDER_COUNT] = {"", "Settings", "Projects", "Backup",
                                                                 "Clips"};

static void PrefsFoldersCreate(PrefsRecord *record) {
    for (int32_t kind = 0; kind < PREFS_FOLDER_COUNT; kind++)
        PrefsHook().folderGet(kind, record->folders[kind]);
}

static void PrefsFoldersApply(PrefsRecord *record) {
    for (int32_t kind = 0; kind < PREFS_FOLDER_COUNT; kind++) {
        char current[PATH_BUFFER];
        PrefsHook().folderGet(kind, current);
        if (!StrEqualI(current, record->folders[kind])) PrefsHook().folderSet(kind, record->folders[kind]);
    }
}

static void PrefsFoldersFromUserData(PrefsRecord *record) {
    for (int32_t kind = PREFS_FOLDER_SETTINGS; kind < PREFS_FOLDER_COUNT; kind++)
        PathJoin(record->folders[PREFS_FOLDER_USER_DATA], prefsFolderNames[kind], record->folders[kind]);
}

void PrefsFolderBrowse(PrefsRecord *record, int32_t kind) {
    if (kind < 0 || kind >= PREFS_FOLDER_COUNT) return;
    char path[PATH_BUFFER];
    StrCopyMaxLen(record->folders[kind], path, PATH_MAX_CHARS);
    if (!PrefsHook().askFolder(prefsFolderTitles[kind], path)) return;
    StrCopyMaxLen(path, record->folders[kind], PATH_MAX_CHARS);
    if (kind == PREFS_FOLDER_USER_DATA) PrefsFoldersFromUserData(record);
}

void PrefsFolderDefaults(PrefsRecord *record) {
    char documents[PATH_BUFFER];
    PrefsHook().documentsFolder(documents);
    PathJoin(documents, "Veltrix", record->folders[PREFS_FOLDER_USER_DATA]);
    PrefsFoldersFromUserData(record);
}

static const PrefsBinding prefsFoldersBindings[PREFS_FOLDER_COUNT] = {PrefsOwn(), PrefsOwn(), PrefsOwn(),
                                                                      PrefsOwn(), PrefsOwn()};

static const PrefsPageDesc prefsFoldersPage = {671,
                                               "Folders",
                                               prefsFoldersBindings,
                                               PREFS_FOLDER_COUNT,
                                               PrefsFoldersCreate,
                                               nullptr,
                                               nullptr,
                                               PrefsFoldersApply,
                                               nullptr};

// ---- The pages

static const PrefsPageDesc *const prefsPages[PREFS_PAGES] = {
    &prefsGeneralPage,     &prefsTypingPage,    &prefsFilesPage,  &prefsLanguagesPage,
    &prefsLookupsPage,     &prefsDisplayPage,   &prefsColorsPage, &prefsFormattingPage,
    &prefsDecorationsPage, &prefsSearchingPage, &prefsRemotePage, &prefsFoldersPage,
};

static const PrefsPageDesc *PrefsPageOf(int32_t page) {
    return page >= 0 && page < PREFS_PAGES ? prefsPages[page] : nullptr;
}

int32_t PrefsPageId(int32_t page) {
    const PrefsPageDesc *p = PrefsPageOf(page);
    return p ? p->id : 0;
}

const char *PrefsPageTitle(int32_t page) {
    const PrefsPageDesc *p = PrefsPageOf(page);
    return p ? p->title : "";
}

int32_t PrefsPageOfCommand(int32_t command) {
    for (int32_t page = 0; page < PREFS_PAGES; page++)
        if (prefsPages[page]->id == command) return page;
    return PREFS_GENERAL;
}

void PrefsCreate(int32_t page, PrefsRecord *record) {
    const PrefsPageDesc *p = PrefsPageOf(page);
    if (!p) return;
    memset(record, 0, sizeof *record);
    PrefsPageFill(p, record);
    if (p->create) p->create(record);
}

void PrefsChanged(int32_t page, PrefsRecord *record, int32_t control) {
    const PrefsPageDesc *p = PrefsPageOf(page);
    if (p && p->changed) p->changed(record, control);
}

bool PrefsEnabled(int32_t page, const PrefsRecord *record, int32_t control) {
    const PrefsPageDesc *p = PrefsPageOf(page);
    return p && (!p->enabled || p->enabled(record, control));
}

void PrefsApply(int32_t page, const PrefsRecord *given) {
    const PrefsPageDesc *p = PrefsPageOf(page);
    if (!p) return;
    PrefsRecord *record = (PrefsRecord *)MemDup(given, sizeof *given);
    if (!record) return;
    if (p->apply) p->apply(record);
    PrefsPageStore(p, record);
    if (page == PREFS_GENERAL) PrefsGeneralAfter(record);
    if (page == PREFS_FILES) PrefsFilesAfter(record);
    MemFree(record);
    SetConfigDirty(1);
}

void PrefsCancel(int32_t page, PrefsRecord *record) {
    const PrefsPageDesc *p = PrefsPageOf(page);
    if (p && p->cancel) p->cancel(record);
}

// ---- The command

static bool prefsSheetOpen;
static bool prefsDisplayChanged;

void PrefsPageNoteDisplay() {
    prefsDisplayChanged = true;
}

static int32_t prefsLastPage = PREFS_GENERAL;

int32_t PrefsLastPage() {
    return prefsLastPage;
}

int CmdPreferences(int32_t command) {
    const PrefsHooks &h = PrefsHook();
    if (prefsSheetOpen) {
        h.beep();
        return 2;
    }
    if (h.ctrlDown()) return h.advancedOptions();
    if (!h.runSheet) return CmdUnavailable(command);
    bool alone = PrefsLangRequested();
    int32_t first = command == PrefsPageId(PREFS_GENERAL) ? prefsLastPage : PrefsPageOfCommand(command);
    if (alone) first = PREFS_LANGUAGES;
    prefsSheetOpen = true;
    prefsDisplayChanged = false;
    bool copied = h.styleSheetCopy();
    h.saveFocus();
    int32_t last = first;
    bool ok = h.runSheet(first, alone, &last) == 1;
    h.restoreFocus();
    if (!alone) prefsLastPage = Clamp(last, 0, PREFS_PAGES - 1);
    if (copied) h.styleSheetDone(ok);
    if (ok && prefsDisplayChanged) {
        ConfigHook().redrawAllWindows();
        ConfigHook().windowMenuRebuild();
    }
    prefsSheetOpen = false;
    return ok ? 0 : 2;
}
