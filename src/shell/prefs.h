// prefs: the Preferences (prefixes Prefs, CmdPreferences): one property sheet of twelve pages that edit the
// option words, and the thirteen commands that open it. Each page is a table dialog over a data record of
// 32-bit words in control order, and a page procedure with the sheet's events: create (the record filled
// from the option words), apply (written back; also on OK) and cancel; while the page is open its
// procedure also answers each change of a control (exclusions and the changes that take effect at once) and
// whether a control is enabled. Every applying page marks the configuration changed.
//
// The property sheet itself is the window library's: the sheet is run through a hook that the program
// registers (tests script it), and what the pages reach above the shell goes through PrefsHooks.
//
// Success convention: command handlers return 0 after OK, 2 after Cancel or a refusal.
#pragma once

#include "shell/config.h"

#include <cstdint>

enum PrefsPage : int32_t {
    PREFS_GENERAL = 0,
    PREFS_TYPING,
    PREFS_FILES,
    PREFS_LANGUAGES,
    PREFS_LOOKUPS,
    PREFS_DISPLAY,
    PREFS_COLORS,
    PREFS_FORMATTING,
    PREFS_DECORATIONS,
    PREFS_SEARCHING,
    PREFS_REMOTE,
    PREFS_FOLDERS,
    PREFS_PAGES,
};

enum : int32_t {
    PREFS_VALUES = 32,      // words of a record
    PREFS_FOLDER_COUNT = 5, // user data, settings, projects, backup, clips
    PREFS_REMOTE_COUNT = 9,
    PREFS_PATH_SIZE = 2560, // the symbol path edit
};

// A page's data record: the value-bearing controls' words in control order, and the texts of its edits.
struct PrefsRecord {
    int32_t values[PREFS_VALUES];
    char symbolPath[PREFS_PATH_SIZE];
    char folders[PREFS_FOLDER_COUNT][256];
};

// The page's id is a command index: the command opens the sheet at the page whose id it is.
int32_t PrefsPageId(int32_t page);
const char *PrefsPageTitle(int32_t page);
int32_t PrefsPageOfCommand(int32_t command); // the first page when no page has the command's id

// The controls of each page, in control order.
enum PrefsGeneralControl : int32_t {
    PG_SLEEP,
    PG_TIPS,
    PG_RECOVERY,
    PG_SYNC_ON_OPEN,
    PG_ADD_FILES,
    PG_REMOVE_MISSING,
    PG_SUPPRESS,
    PG_BACKGROUND_SYNC,
    PG_SYNC_MINUTES,
    PG_STRICT_CONFIRM,
    PG_DRAG_DROP,
    PG_SAME_MONITOR,
    PG_EVENTS,
};
enum PrefsTypingControl : int32_t {
    PT_MATCH_PARENS,
    PT_PAGE_CURSOR,
    PT_BLOCK_CURSOR,
    PT_SMART_TAB,
    PT_TAB_INDENTS,
    PT_TAB_REPLACES,
    PT_INDENT_PREPROCESSOR,
    PT_SMART_PASTE,
    PT_SELECT_PASTED_LINES,
    PT_PASTE_SELECT,
    PT_AUTO_COMPLETION,
    PT_DETAILED,
    PT_PARAMETERS,
    PT_SPACE_PARAMS,
    PT_SPACE_NAME,
    PT_IN_COMMENTS,
    PT_CASE,
    PT_TAB_SELECTS,
    PT_SYLLABLES,
    PT_MEMBERS,
};
enum PrefsFilesControl : int32_t {
    PF_SHARING,
    PF_BACKGROUND_RELOAD,
    PF_ASK_RELOAD,
    PF_CTRL_Z,
    PF_BACKUPS,
    PF_PURGE,
    PF_BACKUP_DAYS,
    PF_SAVE_ALL_QUERIES,
    PF_SAVE_ALL_NO_PROMPT,
    PF_SAVE_ON_DEACTIVATE,
    PF_KEEP_UNDO,
    PF_OVERWRITE_READ_ONLY,
    PF_TRIM,
    PF_EDIT_READ_ONLY,
    PF_CONFIRM_DELETE,
    PF_LINE_END,
};
enum PrefsLanguagesControl : int32_t {
    PL_LANGUAGE,
    PL_ADD,
    PL_DELETE,
    PL_PROPERTIES,
    PL_IMPORT,
    PL_EXPORT,
    PL_KEYWORDS,
    PL_DOC_TYPES,
    PL_SPECIAL,
    PL_PROJECT_CONDITIONS,
    PL_GLOBAL_CONDITIONS,
};
enum PrefsLookupsControl : int32_t {
    PK_PARSE_LOCALLY,
    PK_CROSS_LANGUAGE,
    PK_OPEN_FILES,
    PK_PATH_IF_NOT_FOUND,
    PK_ALWAYS_PATH,
    PK_NET_SYMBOLS,
    PK_SYMBOL_PATH,
};
enum PrefsDisplayControl : int32_t {
    PD_STATUS_BAR,
    PD_TOOLBAR,
    PD_CLIP_WINDOW,
    PD_RELATION_WINDOWS,
    PD_PROJECT_WINDOW,
    PD_CONTEXT_WINDOW,
    PD_PAGE_NUMBER,
    PD_CASCADE,
    PD_MAXIMIZE,
    PD_HSCROLL,
    PD_VSCROLL,
    PD_SMOOTH,
    PD_REVISION_MARKS,
    PD_BOOKMARKS,
    PD_EXACT_CASE,
    PD_READ_ONLY_MARK,
    PD_TILE_LINKS,
    PD_PROJECT_NAME,
    PD_TEXTURES,
    PD_FLAT_TOOLBARS,
    PD_THEMING,
    PD_ANIMATIONS,
    PD_TRIM_PATHS,
    PD_WINDOWS_BY_TITLE,
};
enum PrefsColorsControl : int32_t { PC_ITEM, PC_GRADIENTS };
enum PrefsFormattingControl : int32_t {
    PX_FORMATTING,
    PX_COLOR_ONLY,
    PX_MONOCHROME,
    PX_DECLARATIONS,
    PX_LOCAL_DECLARATIONS,
    PX_LOCAL_REFERENCES,
    PX_GLOBAL_REFERENCES,
    PX_MEMBER_REFERENCES,
    PX_COMMENT_STYLES,
    PX_INACTIVE_CODE,
    PX_SEARCH_PATH,
    PX_QUALIFY_MEMBERS,
    PX_QUALIFY_FUNCTIONS,
};
enum PrefsDecorationsControl : int32_t {
    PR_SUBSTITUTIONS,
    PR_ARROW,
    PR_NOT_EQUAL,
    PR_EQUAL,
    PR_LESS_EQUAL,
    PR_GREATER_EQUAL,
    PR_ASSIGN,
    PR_DIVISION,
    PR_AND,
    PR_OR,
    PR_SCALE_PARENS,
    PR_GOTO_ARROWS,
    PR_END_COMMENTS,
    PR_END_COMMENTS_LONG,
};
enum PrefsSearchingControl : int32_t { PS_RESULTS, PS_JUMP_TO_FIRST, PS_LOAD_SELECTION, PS_RESELECT };
enum PrefsFolderKind : int32_t {
    PREFS_FOLDER_USER_DATA,
    PREFS_FOLDER_SETTINGS,
    PREFS_FOLDER_PROJECTS,
    PREFS_FOLDER_BACKUP,
    PREFS_FOLDER_CLIPS,
};

// The page procedures.
void PrefsCreate(int32_t page, PrefsRecord *record);
void PrefsChanged(int32_t page, PrefsRecord *record, int32_t control);
bool PrefsEnabled(int32_t page, const PrefsRecord *record, int32_t control);
void PrefsApply(int32_t page, const PrefsRecord *record);
void PrefsCancel(int32_t page, PrefsRecord *record);

// The nine words of the remote-session options in use, read at start-up ("Options" in the registry).
extern int32_t g_remoteOptions[PREFS_REMOTE_COUNT];
enum PrefsRemote : int32_t {
    PREFS_REMOTE_NO_SMOOTH_SCROLL = 5,
    PREFS_REMOTE_FONT_SCALE = 7, // percent: 100 to 200
};
void PrefsRemoteLoad();

// Buttons of the pages and their small dialogs.
// Files: the Open Command Options dialog's one choice (0 to 3), from and to g_openCommand.
int32_t PrefsOpenCommandChoice();
void PrefsSetOpenCommandChoice(int32_t choice);
// Display: the Character Spacing Options dialog, its record in control order: the space and delimiter
// characters (0 for an empty edit), monospace tab stops, monospace spaces, smaller line heights.
void PrefsSpacingCreate(PrefsRecord *record);
void PrefsSpacingApply(const PrefsRecord *record);
// Colors: the colour of a list item, its chooser, and "Reset...".
int32_t PrefsColorOfItem(int32_t item); // the colour record's index; -1 outside the nine items
void PrefsColorChoose(PrefsRecord *record);
void PrefsColorReset();
// Symbol Lookups: "Add Project to Path...", a project file appended to the page's path.
void PrefsLookupsAddProject(PrefsRecord *record);
// Folders: a folder chosen by browsing (the user data folder sets the other four), and "Set to Defaults".
void PrefsFolderBrowse(PrefsRecord *record, int32_t kind);
void PrefsFolderDefaults(PrefsRecord *record);
// Languages: the button of a control run on the selected language; the one-shot language of the page.
void PrefsLanguageButton(PrefsRecord *record, int32_t control);
void PrefsSetLanguage(int32_t language);
// Special Language Options, in control order: ignore namespace declarations, parse standard COM macros,
// ignore package declarations, the default script language (0 "None", else the language table's index + 1).
void PrefsSpecialCreate(PrefsRecord *record);
void PrefsSpecialApply(const PrefsRecord *record);

// What the pages reach above the shell and in the window library. Every member may be null: the neutral
// answers in brackets.
enum PrefsLanguageButton : int32_t {
    PREFS_LANG_ADD,
    PREFS_LANG_DELETE,
    PREFS_LANG_PROPERTIES,
    PREFS_LANG_IMPORT,
    PREFS_LANG_EXPORT,
    PREFS_LANG_KEYWORDS,
    PREFS_LANG_DOC_TYPES,
    PREFS_LANG_PROJECT_CONDITIONS,
    PREFS_LANG_GLOBAL_CONDITIONS,
};
enum PrefsParseOption : uint32_t {
    PREFS_PARSE_NAMESPACES = 0x1, // C and C++
    PREFS_PARSE_COM_MACROS = 0x2, // C and C++
    PREFS_PARSE_PACKAGES = 0x4,   // Java
};
struct PrefsHooks {
    // The sheet: runs the pages from `first` (only that one when alone), answering 1 on OK and 0 on Cancel,
    // and says the page it ended on [none: the command is not available].
    int (*runSheet)(int32_t first, bool alone, int32_t *last);
    bool (*ctrlDown)();                  // Ctrl is held [no]
    int (*advancedOptions)();            // the Advanced Options dialog [2]
    int (*loggingOptions)();             // the Logging Options dialog [2]
    void (*beep)();                      // [nothing]
    bool (*styleSheetCopy)();            // a working copy of the style sheet made [no]
    void (*styleSheetDone)(bool commit); // the copy made current (OK) or freed [nothing]
    void (*saveFocus)();                 // the active window and focus remembered [nothing]
    void (*restoreFocus)();              // [nothing]
    // General
    void (*syncDueNow)();           // the next background synchronisation due at once [nothing]
    void (*macroEvents)(bool on);   // event macros on or off [nothing]
    void (*strictConfirm)(bool on); // the stricter confirmation dialog [nothing]
    void (*sameMonitor)(bool on);   // dialogs on the main window's monitor [nothing]
    // Display
    void (*statusShow)(bool on);  // [nothing]
    void (*toolbarShow)(bool on); // [nothing]
    void (*statusRefresh)();      // the status bar's position field [nothing]
    void (*retitleWindows)();     // every window's title made again [nothing]
    void (*redrawFrame)();        // [nothing]
    void (*applyTheme)();         // the theme applied to the frame again [nothing]
    void (*resetToolbars)();      // every toolbar's default layout [nothing]
    bool (*remoteSession)();      // running in a remote session [no]
    void (*styleProperties)();    // the Style Properties dialog [nothing]
    void (*spacingChanged)();     // the font layer's leading and metrics, the format cache [nothing]
    bool (*askColor)(const char *title, uint32_t *color); // [no]
    void (*docTypes)();                                   // the Document Options dialog [nothing]
    // Files
    bool (*backupFolder)(char *out); // the backup folder, when one is set [no]
    // Languages (subsystem 6): the buttons stay disabled while `languageButton` is not registered.
    int32_t (*languageCount)();                                // [1: "None"]
    void (*languageName)(int32_t language, char *out);         // 256 bytes ["None"]
    int32_t (*languageAtCaret)();                              // [0]
    bool (*languageHasKeywords)(int32_t language);             // [no]
    bool (*languageButton)(int32_t button, int32_t *language); // true when something changed [none]
    uint32_t (*languageParseState)(int32_t language);          // [0]
    bool (*projectOpen)();                                     // [no]
    void (*reparseProject)(int32_t language);                  // [nothing]
    void (*reparseOpenFiles)(int32_t language);                // [nothing]
    void (*markParseChanged)(uint32_t which);    // PREFS_PARSE_* changed: their languages re-parse [nothing]
    void (*defaultScript)(char *name, bool set); // read or store by name [""]
    // Symbol Lookups
    bool (*askProject)(char *path); // "Add Project to Symbol Path" [no]
    void (*setupCommonProjects)();  // [nothing]
    // Folders (start-up's folder set-up)
    void (*folderGet)(int32_t kind, char *out);        // [""]
    bool (*folderSet)(int32_t kind, const char *path); // moves and stores [no]
    bool (*askFolder)(const char *title, char *path);  // [no]
    void (*documentsFolder)(char *out);                // the user's documents folder [""]
};
void PrefsSetHooks(const PrefsHooks *hooks); // null: all neutral
const PrefsHooks &PrefsHook();

// The thirteen commands' handler: Ctrl opens the Advanced Options instead; a second call while the sheet is
// open beeps and returns 2; "Preferences..." opens the page last shown.
int CmdPreferences(int32_t command);
int32_t PrefsLastPage();
