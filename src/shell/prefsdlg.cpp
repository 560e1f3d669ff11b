// prefsdlg: the table dialogs of the Preferences' pages (prefix PrefsDlg). The descriptions are data; one
// callback serves them all through the page procedures of prefs.h, with the running page's record.
#include "shell/prefsdlg.h"

#include "base/heap.h"
#include "base/utilil.h"
#include "shell/cfgcolor.h"
#include "shell/optdlg.h"
#include "ui/dlg.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"

#include <cstring>

// ---- Building blocks of the descriptions (row, column, height, width)

constexpr DlgControl PdCheck(int32_t row, int32_t column, const char *text, int32_t index) {
    return {{row, column, 1, 66 - column}, text, DLG_CHECK, 0, PrefsDlgCode(index), 0, 0};
}
constexpr DlgControl PdRadioHead(int32_t index) {
    return {{0, 0, 0, 0}, nullptr, DLG_RADIO_HEAD, 0, PrefsDlgCode(index), 0, 0};
}
constexpr DlgControl PdRadio(int32_t row, int32_t column, int32_t width, const char *text, int32_t code) {
    return {{row, column, 1, width}, text, DLG_RADIO, 0, 300 + code, 0, 0};
}
constexpr DlgControl PdNumber(int32_t row, int32_t column, int32_t index, int32_t low, int32_t high) {
    return {{row, column, 1, 8}, nullptr, DLG_EDIT, DLGF_SIGNED | DLGF_NO_HISTORY,
            PrefsDlgCode(index), low,     high};
}
constexpr DlgControl PdText(int32_t row, int32_t column, int32_t width, int32_t index, int32_t size) {
    return {{row, column, 1, width}, nullptr, DLG_EDIT, DLGF_NO_HISTORY, PrefsDlgCode(index), 0, size};
}
constexpr DlgControl PdDrop(int32_t row, int32_t column, int32_t width, int32_t index) {
    return {{row, column, 8, width}, nullptr, DLG_DROPLIST, 0, PrefsDlgCode(index), 0, 0};
}
constexpr DlgControl PdLabel(int32_t row, int32_t column, int32_t width, const char *text) {
    return {{row, column, 1, width}, text, DLG_LABEL, 0, 0, 0, 0};
}
constexpr DlgControl PdGroup(int32_t row, int32_t height, const char *text) {
    return {{row, 1, height, 66}, text, DLG_GROUP, 0, 0, 0, 0};
}
constexpr int32_t PdBrowse(int32_t kind) {
    return (int32_t)PREFS_DLG_BROWSE + kind;
}
constexpr DlgControl PdButton(int32_t row, int32_t column, int32_t width, const char *text, int32_t code) {
    return {{row, column, 1, width}, text, DLG_BUTTON, 0, code, 0, 0};
}
static const DlgControl pdEnd = {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0};

// ---- The pages, their value-bearing controls in record order

static const DlgControl pdGeneral[] = {
    PdGroup(0, 2, "Processing"),
    PdCheck(1, 3, "Sleep when Veltrix is in background", PG_SLEEP),
    PdGroup(3, 2, "Source Tips"),
    PdRadioHead(PG_TIPS),
    PdRadio(4, 3, 12, "None", 0),
    PdRadio(4, 16, 12, "Short", 1),
    PdRadio(4, 29, 12, "Verbose", 2),
    PdGroup(6, 2, "Recovery"),
    PdLabel(7, 3, 26, "Update recovery file every"),
    PdNumber(7, 30, PG_RECOVERY, 0, 99999),
    PdLabel(7, 39, 10, "seconds"),
    PdGroup(9, 7, "Project File Synchronization"),
    PdCheck(10, 3, "Synchronize on startup and project open", PG_SYNC_ON_OPEN),
    PdCheck(11, 3, "Add new files automatically", PG_ADD_FILES),
    PdCheck(12, 3, "Remove missing files from project", PG_REMOVE_MISSING),
    PdCheck(13, 3, "Suppress warning messages", PG_SUPPRESS),
    {{14, 3, 1, 34},
     "Background synchronization every",
     DLG_CHECK,
     0,
     PrefsDlgCode(PG_BACKGROUND_SYNC),
     0,
     0},
    PdNumber(14, 38, PG_SYNC_MINUTES, 1, 99999),
    PdLabel(14, 47, 10, "minutes"),
    PdGroup(17, 6, "Misc"),
    PdCheck(18, 3, "Use stricter confirmation dialog", PG_STRICT_CONFIRM),
    PdCheck(19, 3, "Allow Drag-and-Drop editing", PG_DRAG_DROP),
    PdCheck(20, 3, "Keep dialogs on the same monitor as the main window", PG_SAME_MONITOR),
    PdCheck(21, 3, "Enable event handlers", PG_EVENTS),
    PdButton(18, 52, 12, "Logging...", PREFS_DLG_LOGGING),
    pdEnd,
};

static const DlgControl pdTyping[] = {
    PdGroup(0, 11, "Source Editing"),
    PdCheck(1, 3, "Highlight matching parentheses while typing", PT_MATCH_PARENS),
    PdCheck(2, 3, "Keep cursor in window when paging up and down", PT_PAGE_CURSOR),
    PdCheck(3, 3, "Use block cursor shape", PT_BLOCK_CURSOR),
    PdCheck(4, 3, "Use Smart Tab for field selections", PT_SMART_TAB),
    PdCheck(5, 3, "Typing tab indents line, regardless of selection", PT_TAB_INDENTS),
    PdCheck(6, 3, "Typing tab replaces current selection", PT_TAB_REPLACES),
    PdCheck(7, 3, "Indent commands affect #-preprocessor statements", PT_INDENT_PREPROCESSOR),
    PdCheck(8, 3, "Use intelligent paste", PT_SMART_PASTE),
    PdCheck(9, 3, "Always select pasted text after pasting whole lines", PT_SELECT_PASTED_LINES),
    PdLabel(10, 3, 22, "After pasting, select:"),
    PdDrop(10, 26, 30, PT_PASTE_SELECT),
    PdGroup(12, 8, "Auto Completion"),
    PdCheck(13, 3, "Use automatic symbol completion window", PT_AUTO_COMPLETION),
    PdCheck(14, 3, "Use detailed completion window", PT_DETAILED),
    PdCheck(15, 3, "Insert parameters for functions", PT_PARAMETERS),
    PdCheck(16, 5, "Insert spaces between parameters", PT_SPACE_PARAMS),
    PdCheck(17, 5, "Insert space after function name", PT_SPACE_NAME),
    PdCheck(18, 3, "Use completion window inside comments", PT_IN_COMMENTS),
    PdGroup(20, 5, "Browsing in Lists"),
    PdCheck(21, 3, "Use case-sensitive matching", PT_CASE),
    PdCheck(22, 3, "Tab key selects item", PT_TAB_SELECTS),
    PdCheck(23, 3, "Match syllables while typing (slower)", PT_SYLLABLES),
    PdCheck(24, 3, "Match members while typing", PT_MEMBERS),
    pdEnd,
};

static const DlgControl pdFiles[] = {
    PdGroup(0, 7, "Opening Files"),
    PdCheck(1, 3, "Sharing: Let other programs modify files", PF_SHARING),
    PdCheck(2, 5, "Reload externally modified files in background", PF_BACKGROUND_RELOAD),
    PdLabel(3, 7, 58, "(The \"Reload Modified Files\" command also reloads files.)"),
    PdCheck(4, 5, "Ask before reloading modified files", PF_ASK_RELOAD),
    PdCheck(5, 3, "Assume ^Z (ASCII 26) is End-Of-File", PF_CTRL_Z),
    PdButton(1, 46, 18, "Customize 'Open' Command...", PREFS_DLG_OPEN_COMMAND),
    PdGroup(7, 11, "Saving Files"),
    PdCheck(8, 3, "Make backup files when saving", PF_BACKUPS),
    {{9, 3, 1, 36}, "Remove backup files older than (days):", DLG_CHECK, 0, PrefsDlgCode(PF_PURGE), 0, 0},
    PdNumber(9, 40, PF_BACKUP_DAYS, 0, 16000),
    PdCheck(10, 3, "Save All operation will query on each file separately", PF_SAVE_ALL_QUERIES),
    PdCheck(11, 3, "Save All operation saves without prompts", PF_SAVE_ALL_NO_PROMPT),
    PdCheck(12, 3, "Save all files when Veltrix program is deactivated", PF_SAVE_ON_DEACTIVATE),
    PdCheck(13, 3, "Preserve Undo data and revision marks after saving", PF_KEEP_UNDO),
    PdCheck(14, 3, "Save over read-only files without prompting", PF_OVERWRITE_READ_ONLY),
    PdCheck(15, 3, "Remove extra white space when saving", PF_TRIM),
    PdGroup(18, 5, "Other"),
    PdCheck(19, 3, "Allow editing read-only file buffers", PF_EDIT_READ_ONLY),
    PdCheck(20, 3, "Confirm all file deletions", PF_CONFIRM_DELETE),
    PdLabel(21, 3, 20, "Default file format:"),
    PdDrop(21, 24, 24, PF_LINE_END),
    pdEnd,
};

static const DlgControl pdLanguages[] = {
    PdLabel(0, 1, 20, "Language:"),
    {{1, 1, 14, 30}, nullptr, DLG_LIST, DLGF_DOUBLE_DEFAULT, PrefsDlgCode(PL_LANGUAGE), 0, 0},
    PdButton(1, 34, 20, "Add...", PrefsDlgCode(PL_ADD)),
    PdButton(3, 34, 20, "Delete", PrefsDlgCode(PL_DELETE)),
    PdButton(5, 34, 20, "Properties...", PrefsDlgCode(PL_PROPERTIES)),
    PdButton(7, 34, 20, "Import...", PrefsDlgCode(PL_IMPORT)),
    PdButton(9, 34, 20, "Export...", PrefsDlgCode(PL_EXPORT)),
    PdButton(11, 34, 20, "Keywords...", PrefsDlgCode(PL_KEYWORDS)),
    PdButton(13, 34, 20, "Doc Types...", PrefsDlgCode(PL_DOC_TYPES)),
    PdButton(15, 34, 20, "Special...", PrefsDlgCode(PL_SPECIAL)),
    PdGroup(17, 4, "Conditional Parsing"),
    PdButton(18, 3, 30, "Project Specific Conditions...", PrefsDlgCode(PL_PROJECT_CONDITIONS)),
    PdButton(18, 34, 30, "Global Conditions...", PrefsDlgCode(PL_GLOBAL_CONDITIONS)),
    pdEnd,
};

static const DlgControl pdLookups[] = {
    PdCheck(0, 1, "Parse locally before lookup (slower, but more accurate)", PK_PARSE_LOCALLY),
    PdCheck(1, 1, "Find symbols across different language types", PK_CROSS_LANGUAGE),
    PdCheck(2, 1, "Find symbols in open files not part of the current project", PK_OPEN_FILES),
    PdCheck(3, 1, "Search project symbol path if symbol not found", PK_PATH_IF_NOT_FOUND),
    PdCheck(4, 1, "Search symbol path, even if symbol is found in current project", PK_ALWAYS_PATH),
    PdCheck(5, 1, "Use .Net Framework symbols with C#", PK_NET_SYMBOLS),
    PdLabel(7, 1, 30, "Project symbol path:"),
    PdText(8, 1, 64, PK_SYMBOL_PATH, PREFS_PATH_SIZE),
    PdButton(10, 1, 28, "Add Project to Path...", PREFS_DLG_ADD_PROJECT),
    PdButton(10, 32, 28, "Create Common Projects...", PREFS_DLG_COMMON_PROJECTS),
    pdEnd,
};

static const DlgControl pdDisplay[] = {
    PdGroup(0, 8, "Display Elements"),
    PdCheck(1, 3, "Status Bar", PD_STATUS_BAR),
    PdCheck(2, 3, "Tool Bar", PD_TOOLBAR),
    PdCheck(3, 3, "Clip Window", PD_CLIP_WINDOW),
    PdCheck(4, 3, "Relation Window(s)", PD_RELATION_WINDOWS),
    PdCheck(5, 3, "Project Window", PD_PROJECT_WINDOW),
    PdCheck(6, 3, "Context Window", PD_CONTEXT_WINDOW),
    PdCheck(7, 3, "Page number in status bar", PD_PAGE_NUMBER),
    PdGroup(9, 20, "Options"),
    PdCheck(10, 3, "Cascade new windows", PD_CASCADE),
    PdCheck(11, 3, "Maximize new windows", PD_MAXIMIZE),
    PdCheck(12, 3, "Horizontal scroll bars for each new window", PD_HSCROLL),
    PdCheck(13, 3, "Vertical scroll bars for each new window", PD_VSCROLL),
    PdCheck(14, 3, "Smooth scrolling windows", PD_SMOOTH),
    PdCheck(15, 3, "Show line revision marks in left margin", PD_REVISION_MARKS),
    PdCheck(16, 3, "Show book marks in left margin", PD_BOOKMARKS),
    PdCheck(17, 3, "Show exact case of file names", PD_EXACT_CASE),
    PdCheck(18, 3, "Show read-only file names with ! mark", PD_READ_ONLY_MARK),
    PdCheck(19, 3, "Tile source and destination windows for Source Link commands", PD_TILE_LINKS),
    PdCheck(20, 3, "Show current project name in application background", PD_PROJECT_NAME),
    PdCheck(21, 3, "Use background textures", PD_TEXTURES),
    PdCheck(22, 3, "Use flat style toolbars", PD_FLAT_TOOLBARS),
    PdCheck(23, 3, "Enable Theming", PD_THEMING),
    PdCheck(24, 3, "Enable Animations", PD_ANIMATIONS),
    PdCheck(25, 3, "Trim long path names with ellipses", PD_TRIM_PATHS),
    PdRadioHead(PD_WINDOWS_BY_TITLE),
    PdRadio(26, 3, 30, "Sort Window menu by usage", 10),
    PdRadio(27, 3, 30, "Sort Window menu by title", 11),
    PdButton(1, 40, 16, "Styles...", PREFS_DLG_STYLES),
    PdButton(3, 40, 16, "Spacing...", PREFS_DLG_SPACING),
    PdButton(5, 40, 16, "Reset", PREFS_DLG_RESET_TOOLBARS),
    pdEnd,
};

static const DlgControl pdColors[] = {
    PdLabel(0, 1, 20, "Item:"),
    {{1, 1, 11, 36}, nullptr, DLG_LIST, DLGF_DOUBLE_DEFAULT, PrefsDlgCode(PC_ITEM), 0, 0},
    PdCheck(13, 1, "Use color gradients", PC_GRADIENTS),
    PdButton(1, 40, 16, "Color...", PREFS_DLG_COLOR),
    PdButton(3, 40, 16, "Styles...", PREFS_DLG_STYLES),
    PdButton(5, 40, 16, "Reset...", PREFS_DLG_RESET_COLORS),
    pdEnd,
};

static const DlgControl pdFormatting[] = {
    PdGroup(0, 4, "Basics"),
    PdCheck(1, 3, "&Use Syntax Formatting", PX_FORMATTING),
    PdCheck(2, 5, "Use only &color formatting", PX_COLOR_ONLY),
    PdCheck(3, 5, "Use no color formatting (monochrome)", PX_MONOCHROME),
    PdGroup(5, 8, "Apply Styles for Language Elements"),
    PdCheck(6, 3, "Symbol &declarations", PX_DECLARATIONS),
    PdCheck(7, 3, "Function local symbol d&eclarations", PX_LOCAL_DECLARATIONS),
    PdCheck(8, 3, "References to function-&local symbols", PX_LOCAL_REFERENCES),
    PdCheck(9, 3, "References to &non-function-local symbols", PX_GLOBAL_REFERENCES),
    PdCheck(10, 3, "References to &members", PX_MEMBER_REFERENCES),
    PdCheck(11, 3, "Special comment styles", PX_COMMENT_STYLES),
    PdCheck(12, 3, "Inactive conditional code blocks", PX_INACTIVE_CODE),
    PdGroup(14, 4, "Symbol Reference Lookups"),
    PdCheck(15, 3, "Search in the &Project Symbol Path (slower)", PX_SEARCH_PATH),
    PdCheck(16, 3, "&Qualify references to members (slower)", PX_QUALIFY_MEMBERS),
    PdCheck(17, 3, "Qualify references to &functions (slower)", PX_QUALIFY_FUNCTIONS),
    PdButton(19, 1, 16, "Styles...", PREFS_DLG_STYLES),
    PdButton(19, 20, 16, "Doc Types...", PREFS_DLG_DOC_TYPES),
    pdEnd,
};

static const DlgControl pdDecorations[] = {
    {{0, 1, 2, 64},
     "Veltrix can substitute decorative symbols for certain operators, and automatically add some display "
     "elements.",
     DLG_LABEL,
     0,
     0,
     0,
     0},
    PdGroup(2, 13, "Display Substitutions"),
    PdCheck(3, 3, "&Use operator substitutions listed below:", PR_SUBSTITUTIONS),
    PdCheck(4, 5, "&Pointer field reference (->) uses right arrow", PR_ARROW),
    PdCheck(5, 5, "&Not Equal (!=)", PR_NOT_EQUAL),
    PdCheck(6, 5, "&Equal (==) uses =", PR_EQUAL),
    PdCheck(7, 5, "&Less Than or Equal (<=)", PR_LESS_EQUAL),
    PdCheck(8, 5, "&Greater Than or Equal (>=)", PR_GREATER_EQUAL),
    PdCheck(9, 5, "A&ssignment (=) uses left arrow", PR_ASSIGN),
    PdCheck(10, 5, "Division (/)", PR_DIVISION),
    PdCheck(11, 5, "Logical &AND (&&&&)", PR_AND),
    PdCheck(12, 5, "Logical &OR (||)", PR_OR),
    PdCheck(13, 3, "Scale nested parentheses", PR_SCALE_PARENS),
    PdGroup(16, 5, "Auto Annotations"),
    PdCheck(17, 3, "Show arrows at goto statements", PR_GOTO_ARROWS),
    PdCheck(18, 3, "Annotate closing braces with end-comments", PR_END_COMMENTS),
    PdCheck(19, 5, "Annotate closing braces only for long blocks", PR_END_COMMENTS_LONG),
    PdButton(22, 1, 16, "Styles...", PREFS_DLG_STYLES),
    PdButton(22, 20, 16, "Doc Types...", PREFS_DLG_DOC_TYPES),
    pdEnd,
};

static const DlgControl pdSearching[] = {
    PdGroup(0, 5, "Search Results"),
    PdRadioHead(PS_RESULTS),
    PdRadio(1, 3, 60, "Ask &before replacing old Search Results", 20),
    PdRadio(2, 3, 60, "Always &replace old Search Results", 21),
    PdRadio(3, 3, 60, "Always &append to old Search Results", 22),
    PdCheck(5, 1, "Automatically jump to first result", PS_JUMP_TO_FIRST),
    PdGroup(7, 4, "Options"),
    PdCheck(8, 3, "Automatically load selection into Find pattern", PS_LOAD_SELECTION),
    PdCheck(9, 3, "Reselect original lines after Replace operation", PS_RESELECT),
    pdEnd,
};

static const DlgControl pdRemote[] = {
    PdLabel(0, 1, 64, "Remote Options apply only when running in a Remote Desktop or Terminal session."),
    PdCheck(2, 1, "Disable transparent &windows", 0),
    PdCheck(3, 1, "Disable &logo graphics", 1),
    PdCheck(4, 1, "Disable &color gradients", 2),
    PdCheck(5, 1, "Disable &animations", 3),
    PdCheck(6, 1, "Disable &themes", 4),
    PdCheck(7, 1, "Disable &smooth scrolling", 5),
    PdCheck(8, 1, "Disable text s&hadows", 6),
    PdLabel(9, 1, 20, "Font Scaling: (%)"),
    PdNumber(9, 22, PREFS_REMOTE_FONT_SCALE, 100, 200),
    PdCheck(10, 1, "Disable double-buffered display", 8),
    pdEnd,
};

static const DlgControl pdFolders[] = {
    PdLabel(0, 1, 30, "Main User Data Folder:"),
    PdText(1, 1, 56, PREFS_FOLDER_USER_DATA, 256),
    PdButton(1, 58, 6, "...", PdBrowse(PREFS_FOLDER_USER_DATA)),
    PdLabel(3, 1, 30, "Settings Folder:"),
    PdText(4, 1, 56, PREFS_FOLDER_SETTINGS, 256),
    PdButton(4, 58, 6, "...", PdBrowse(PREFS_FOLDER_SETTINGS)),
    PdLabel(6, 1, 30, "Projects Folder:"),
    PdText(7, 1, 56, PREFS_FOLDER_PROJECTS, 256),
    PdButton(7, 58, 6, "...", PdBrowse(PREFS_FOLDER_PROJECTS)),
    PdLabel(9, 1, 30, "Backup Folder:"),
    PdText(10, 1, 56, PREFS_FOLDER_BACKUP, 256),
    PdButton(10, 58, 6, "...", PdBrowse(PREFS_FOLDER_BACKUP)),
    PdLabel(12, 1, 30, "Clips Folder:"),
    PdText(13, 1, 56, PREFS_FOLDER_CLIPS, 256),
    PdButton(13, 58, 6, "...", PdBrowse(PREFS_FOLDER_CLIPS)),
    PdButton(15, 1, 18, "Set to Defaults", PREFS_DLG_FOLDER_DEFAULTS),
    pdEnd,
};

// ---- The running page

struct PrefsDlgState {
    int32_t page;
    PrefsRecord *record;
};
static PrefsDlgState *prefsDlgRunning;

static intptr_t PrefsDlgEvent(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra);

static const DlgDesc pdPages[PREFS_PAGES] = {
    {{0, 0, 25, 68}, "General Options", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdGeneral},
    {{0, 0, 26, 68}, "Typing", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdTyping},
    {{0, 0, 24, 68}, "File Options", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdFiles},
    {{0, 0, 22, 68}, "Language Options", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdLanguages},
    {{0, 0, 12, 68}, "Symbol Lookups", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdLookups},
    {{0, 0, 29, 68}, "Display Options", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdDisplay},
    {{0, 0, 15, 68}, "Colors", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdColors},
    {{0, 0, 21, 68}, "Syntax Formatting", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdFormatting},
    {{0, 0, 24, 68}, "Syntax Decorations", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdDecorations},
    {{0, 0, 11, 68}, "Searching", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdSearching},
    {{0, 0, 12, 68}, "Remote", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdRemote},
    {{0, 0, 17, 68}, "Folders", PrefsDlgEvent, DLG_ROW_FIRST, 0, pdFolders},
};

const DlgDesc *PrefsDlgPage(int32_t page) {
    return page >= 0 && page < PREFS_PAGES ? &pdPages[page] : nullptr;
}

// A control that holds a word of the record: a code in the record's range that is not a button.
static bool PrefsDlgIsValue(const DlgControl *c) {
    return c->code >= PREFS_DLG_VALUE && c->code < PREFS_DLG_BUTTON && c->type != DLG_BUTTON;
}

static bool PrefsDlgIsText(const DlgControl *c) {
    return c->type == DLG_EDIT && !(c->flags & DLGF_SIGNED);
}

// The record's words and texts in the value slots of the description's controls, and back.
static int32_t PrefsDlgSlots(const DlgDesc *desc, PrefsRecord *record, DlgSlot *slots) {
    int32_t n = 0;
    for (const DlgControl *c = desc->controls; c->type != DLG_END; c++) {
        if (!PrefsDlgIsValue(c)) continue;
        int32_t index = c->code - PREFS_DLG_VALUE;
        bool folder = desc->controls == pdFolders;
        if (PrefsDlgIsText(c))
            slots[n++] = folder ? (DlgSlot)record->folders[index] : (DlgSlot)record->symbolPath;
        else
            slots[n++] = record->values[index];
    }
    return n;
}

static void PrefsDlgTakeSlots(const DlgDesc *desc, PrefsRecord *record, const DlgSlot *slots) {
    int32_t n = 0;
    for (const DlgControl *c = desc->controls; c->type != DLG_END; c++) {
        if (!PrefsDlgIsValue(c)) continue;
        if (!PrefsDlgIsText(c)) record->values[c->code - PREFS_DLG_VALUE] = (int32_t)slots[n];
        n++;
    }
}

// The dialog shows the record again: values that a procedure changed, and every enable state.
static void PrefsDlgShow(DlgObject *dlg, const PrefsDlgState *state) {
    const DlgDesc *desc = &pdPages[state->page];
    for (const DlgControl *c = desc->controls; c->type != DLG_END; c++) {
        if (c->code < PREFS_DLG_VALUE || c->code >= PREFS_DLG_BUTTON) continue;
        int32_t index = c->code - PREFS_DLG_VALUE;
        if (PrefsDlgIsValue(c) && !PrefsDlgIsText(c) &&
            DlgGetValue(dlg, c->code) != state->record->values[index])
            DlgSetValue(dlg, c->code, state->record->values[index]);
        DlgEnable(dlg, c->code, PrefsEnabled(state->page, state->record, index));
    }
}

// The page's texts from its edits, before a button works on them.
static void PrefsDlgReadTexts(DlgObject *dlg, PrefsRecord *record, int32_t page) {
    if (page == PREFS_LOOKUPS) DlgGetText(dlg, PrefsDlgCode(PK_SYMBOL_PATH), record->symbolPath);
    if (page != PREFS_FOLDERS) return;
    for (int32_t k = 0; k < PREFS_FOLDER_COUNT; k++) DlgGetText(dlg, PrefsDlgCode(k), record->folders[k]);
}

static void PrefsDlgShowTexts(DlgObject *dlg, const PrefsRecord *record, int32_t page) {
    if (page == PREFS_LOOKUPS) DlgSetText(dlg, PrefsDlgCode(PK_SYMBOL_PATH), record->symbolPath);
    if (page != PREFS_FOLDERS) return;
    for (int32_t k = 0; k < PREFS_FOLDER_COUNT; k++) DlgSetText(dlg, PrefsDlgCode(k), record->folders[k]);
}

static void PrefsDlgButton(DlgObject *dlg, PrefsDlgState *state, int32_t code) {
    const PrefsHooks &h = PrefsHook();
    PrefsRecord *record = state->record;
    PrefsDlgReadTexts(dlg, record, state->page);
    switch (code) {
    case PREFS_DLG_LOGGING: h.loggingOptions(); break;
    case PREFS_DLG_OPEN_COMMAND: OptDlgOpenCommand(); break;
    case PREFS_DLG_ADD_PROJECT: PrefsLookupsAddProject(record); break;
    case PREFS_DLG_COMMON_PROJECTS: h.setupCommonProjects(); break;
    case PREFS_DLG_STYLES: h.styleProperties(); break;
    case PREFS_DLG_SPACING: OptDlgSpacing(); break;
    case PREFS_DLG_RESET_TOOLBARS: h.resetToolbars(); break;
    case PREFS_DLG_COLOR: PrefsColorChoose(record); break;
    case PREFS_DLG_RESET_COLORS: PrefsColorReset(); break;
    case PREFS_DLG_DOC_TYPES: h.docTypes(); break;
    case PREFS_DLG_FOLDER_DEFAULTS: PrefsFolderDefaults(record); break;
    default:
        if (code >= PREFS_DLG_BROWSE && code < PdBrowse(PREFS_FOLDER_COUNT))
            PrefsFolderBrowse(record, code - PREFS_DLG_BROWSE);
        break;
    }
    PrefsDlgShowTexts(dlg, record, state->page);
    if (state->page == PREFS_COLORS)
        InvalidateRect(DlgGetControlWindow(dlg, PrefsDlgCode(PC_ITEM)), nullptr, TRUE);
}

// A control of the record was used: its value into the record, the page's answer, the dialog shown again.
static void PrefsDlgUsed(DlgObject *dlg, PrefsDlgState *state, int32_t code) {
    int32_t index = code - PREFS_DLG_VALUE;
    const DlgControl *c = DlgControlAt(dlg, code);
    if (state->page == PREFS_LANGUAGES && index != PL_LANGUAGE) {
        if (index == PL_SPECIAL)
            OptDlgSpecial();
        else
            PrefsLanguageButton(state->record, index);
        DlgRefillList(dlg, PrefsDlgCode(PL_LANGUAGE), state->record->values[PL_LANGUAGE]);
    } else if (c && !PrefsDlgIsText(c)) {
        state->record->values[index] = DlgGetValue(dlg, code);
        PrefsChanged(state->page, state->record, index);
    }
    PrefsDlgShow(dlg, state);
}

// The items of the lists and drop-down lists.
static const char *const pdPasteItems[] = {"at start of pasted text", "at end of pasted text",
                                           "all pasted text"};
static const char *const pdLineEndItems[] = {"Windows (CR/LF)", "Unix (LF)", "Mac (CR)"};

static intptr_t PrefsDlgItemCount(const PrefsDlgState *state, int32_t index) {
    if (state->page == PREFS_LANGUAGES) return PrefsHook().languageCount();
    if (state->page == PREFS_COLORS) return 9;
    return (state->page == PREFS_TYPING && index == PT_PASTE_SELECT) || state->page == PREFS_FILES ? 3 : 0;
}

static void PrefsDlgItemText(const PrefsDlgState *state, int32_t item, unsigned char *out) {
    char text[256] = "";
    if (state->page == PREFS_LANGUAGES) PrefsHook().languageName(item, text);
    if (state->page == PREFS_COLORS) ConfigColorName(PrefsColorOfItem(item), text);
    if (state->page == PREFS_TYPING && item >= 0 && item < 3) StrCopyMaxLen(pdPasteItems[item], text, 255);
    if (state->page == PREFS_FILES && item >= 0 && item < 3) StrCopyMaxLen(pdLineEndItems[item], text, 255);
    PstrFromSz(text, out);
}

static intptr_t PrefsDlgEvent(DlgObject *dlg, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    PrefsDlgState *state = prefsDlgRunning;
    if (!state) return 0;
    switch (event) {
    case DLG_EV_INIT: PrefsDlgShow(dlg, state); break;
    case DLG_EV_ITEM_COUNT: return PrefsDlgItemCount(state, code - PREFS_DLG_VALUE);
    case DLG_EV_ITEM_TEXT: PrefsDlgItemText(state, (int32_t)extra, (unsigned char *)ptr); break;
    case DLG_EV_DEFAULT_ACTION:
        if (state->page == PREFS_LANGUAGES) PrefsDlgUsed(dlg, state, PrefsDlgCode(PL_PROPERTIES));
        if (state->page == PREFS_COLORS) PrefsDlgButton(dlg, state, PREFS_DLG_COLOR);
        break;
    case DLG_EV_USED:
        if (code >= PREFS_DLG_BUTTON)
            PrefsDlgButton(dlg, state, code);
        else if (code >= PREFS_DLG_VALUE)
            PrefsDlgUsed(dlg, state, code);
        break;
    default: break;
    }
    return 0;
}

// ---- Running a page by itself

enum { PREFS_DLG_CONTROLS_MAX = 64 };

int PrefsDlgRunPage(int32_t page) {
    const DlgDesc *desc = PrefsDlgPage(page);
    if (!desc) return 0;
    int32_t count = 0;
    while (desc->controls[count].type != DLG_END) count++;
    DlgControl *controls = (DlgControl *)MemAlloc((count + 4) * sizeof(DlgControl));
    PrefsRecord *record = (PrefsRecord *)MemAlloc(sizeof(PrefsRecord));
    if (!controls || !record || count + 4 > PREFS_DLG_CONTROLS_MAX) {
        MemFree(controls);
        MemFree(record);
        return 0;
    }
    int32_t row = desc->geometry[2];
    memcpy(controls, desc->controls, count * sizeof(DlgControl));
    controls[count] = {{row, 32, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES | DLGF_READ_VALUES,
                       DLG_CODE_OK,      0,    0};
    controls[count + 1] = {{row, 44, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0};
    controls[count + 2] = {{row, 56, 1, 10}, "Help", DLG_BUTTON, 0, DLG_CODE_HELP, 0, 0};
    controls[count + 3] = pdEnd;
    DlgDesc own = *desc;
    own.geometry[0] = 2;
    own.geometry[1] = 2;
    own.geometry[2] = row + 2;
    own.controls = controls;
    PrefsCreate(page, record);
    PrefsDlgState state = {page, record};
    PrefsDlgState *outer = prefsDlgRunning;
    prefsDlgRunning = &state;
    DlgSlot slots[PREFS_DLG_CONTROLS_MAX];
    PrefsDlgSlots(&own, record, slots);
    bool ok = DlgRun(&own, 0, slots) == DLG_CODE_OK;
    prefsDlgRunning = outer;
    if (ok) {
        PrefsDlgTakeSlots(&own, record, slots);
        PrefsApply(page, record);
    } else {
        PrefsCancel(page, record);
    }
    MemFree(record);
    MemFree(controls);
    return ok;
}

int PrefsDlgRunSheet(int32_t first, bool, int32_t *last) {
    *last = first;
    return PrefsDlgRunPage(first);
}
