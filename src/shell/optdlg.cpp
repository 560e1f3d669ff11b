// optdlg: the table dialogs of the options (prefix OptDlg). Each description lists its value-bearing
// controls in the order of its record's words, so one runner moves the record into the dialog's value slots
// and back after OK.
#include "shell/optdlg.h"

#include "base/heap.h"
#include "base/utilil.h"
#include "ui/dlg.h"
#include "ui/dlgrun.h"
#include "ui/dlgval.h"

#include <cstring>

static const DlgControl optDlgEnd = {{0, 0, 0, 0}, nullptr, DLG_END, 0, 0, 0, 0};

constexpr DlgControl OptDlgOk(int32_t row, int32_t column) {
    return {{row, column, 1, 10}, "OK", DLG_BUTTON, DLGF_DEFAULT | DLGF_CLOSES | DLGF_READ_VALUES,
            DLG_CODE_OK,          0,    0};
}
constexpr DlgControl OptDlgCancel(int32_t row, int32_t column) {
    return {{row, column, 1, 10}, "Cancel", DLG_BUTTON, DLGF_CLOSES, DLG_CODE_CANCEL, 0, 0};
}
constexpr DlgControl OptDlgCheck(int32_t row, int32_t column, int32_t width, const char *text, int32_t code) {
    return {{row, column, 1, width}, text, DLG_CHECK, 0, code, 0, 0};
}

// Runs the dialog over the record's first `count` words: 1 after OK (the words read back), else 0.
static int OptDlgRun(const DlgDesc *desc, int32_t *values, int32_t count) {
    DlgSlot slots[PREFS_VALUES];
    for (int32_t i = 0; i < count; i++) slots[i] = values[i];
    if (DlgRun(desc, 0, slots) != DLG_CODE_OK) return 0;
    for (int32_t i = 0; i < count; i++) values[i] = (int32_t)slots[i];
    return 1;
}

// ---- Advanced Options

static intptr_t OptDlgAdvancedEvent(DlgObject *dlg, int32_t event, int32_t code, void *, intptr_t) {
    if (event == DLG_EV_USED && code == OPTDLG_LOGGING) {
        LoggingOptionsDialog();
        DlgSetValue(dlg, (int32_t)OPTDLG_FIRST + (int32_t)ADV_USE_LOG_FILE, AdvancedOption(ADV_USE_LOG_FILE));
    }
    return 0;
}

static const DlgControl optDlgAdvancedControls[] = {
    {{0, 1, 2, 62},
     "This dialog allows you to selectively disable performance optimizations.  This may help to "
     "troubleshoot certain types of problems.",
     DLG_LABEL,
     0,
     0,
     0,
     0},
    OptDlgCheck(3, 1, 46, "Disable &symbol lookup caching", 20),
    OptDlgCheck(4, 1, 46, "Disable &missing symbol caching", 21),
    OptDlgCheck(5, 1, 46, "Disable project-level symbol cache", 22),
    OptDlgCheck(6, 1, 46, "Disable line lex caching", 23),
    OptDlgCheck(7, 1, 46, "Disable &format caching", 24),
    OptDlgCheck(8, 1, 46, "Disable &quick-format optimizations", 25),
    OptDlgCheck(9, 1, 46, "Disable smart display &updating", 26),
    OptDlgCheck(10, 1, 46, "Disable fast symbol name comparing", 27),
    OptDlgCheck(11, 1, 46, "Disable symbol relation cache", 28),
    OptDlgCheck(12, 1, 46, "Show hidden internal symbols", 29),
    OptDlgCheck(13, 1, 46, "Do not keep background projects open", 30),
    OptDlgCheck(14, 1, 46, "Disable lazy document closing", 31),
    OptDlgCheck(15, 1, 46, "Disable memory mapped file access", 32),
    OptDlgCheck(16, 1, 46, "Disable project server functions", 33),
    OptDlgCheck(17, 1, 46, "Monitor possible database corruption", 34),
    OptDlgCheck(18, 1, 46, "Use a log file", 35),
    {{20, 1, 1, 30}, "Internal file cache size (KB):", DLG_LABEL, 0, 0, 0, 0},
    {{20, 32, 1, 8}, nullptr, DLG_EDIT, DLGF_SIGNED, 36, ADV_CACHE_KB_MIN, ADV_CACHE_KB_MAX},
    OptDlgOk(3, 52),
    OptDlgCancel(5, 52),
    {{7, 52, 1, 10}, "Help", DLG_BUTTON, 0, DLG_CODE_HELP, 0, 0},
    {{9, 52, 1, 10}, "Logging...", DLG_BUTTON, 0, OPTDLG_LOGGING, 0, 0},
    optDlgEnd,
};
static const DlgDesc optDlgAdvancedDesc = {
    {2, 2, 22, 64}, "Advanced Options", OptDlgAdvancedEvent, DLG_ROW_FIRST, 0, optDlgAdvancedControls};

int OptDlgAdvanced(AdvancedOptions *record) {
    return OptDlgRun(&optDlgAdvancedDesc, record->values, ADV_LOG_COMMANDS);
}

// ---- Logging Options

static intptr_t OptDlgLoggingEvent(DlgObject *, int32_t event, int32_t code, void *, intptr_t) {
    if (event != DLG_EV_USED) return 0;
    char line[300];
    if (code == OPTDLG_NOTEPAD) LoggingOpenInNotepad(line);
    if (code == OPTDLG_EMPTY) LoggingEmpty();
    return 0;
}

static const DlgControl optDlgLoggingControls[] = {
    {{0, 1, 1, 50}, "This dialog allows you to control log file options.", DLG_LABEL, 0, 0, 0, 0},
    OptDlgCheck(2, 1, 30, "Output to log file", 20),
    OptDlgCheck(3, 1, 30, "Log user commands", 21),
    {{5, 1, 1, 26}, "Open log file in Notepad", DLG_BUTTON, 0, OPTDLG_NOTEPAD, 0, 0},
    {{7, 1, 1, 26}, "Empty the log file", DLG_BUTTON, 0, OPTDLG_EMPTY, 0, 0},
    OptDlgOk(2, 40),
    OptDlgCancel(4, 40),
    optDlgEnd,
};
static const DlgDesc optDlgLoggingDesc = {
    {3, 3, 9, 52}, "Logging Options", OptDlgLoggingEvent, DLG_ROW_FIRST, 0, optDlgLoggingControls};

int OptDlgLogging(LoggingOptionsRecord *record) {
    int32_t values[2] = {record->useLog, record->logCommands};
    if (!OptDlgRun(&optDlgLoggingDesc, values, 2)) return 0;
    record->useLog = values[0];
    record->logCommands = values[1];
    return 1;
}

// ---- Symbol Tracking Options

static const DlgControl optDlgTrackingControls[] = {
    {{0, 1, 5, 50}, "Automatic Symbol Tracking", DLG_GROUP, 0, 0, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_RADIO_HEAD, 0, 20, 0, 0},
    {{1, 3, 1, 46}, "&Off", DLG_RADIO, 0, 30, 0, 0},
    {{2, 3, 1, 46}, "Track &selected symbol (i.e. under cursor)", DLG_RADIO, 0, 31, 0, 0},
    {{3, 3, 1, 46}, "Track the &enclosing function or class.", DLG_RADIO, 0, 32, 0, 0},
    {{6, 1, 5, 50}, "Activate Tracking", DLG_GROUP, 0, 0, 0, 0},
    OptDlgCheck(7, 3, 46, "Inside of &comments", 21),
    OptDlgCheck(8, 3, 46, "Inside of s&tring constants", 22),
    OptDlgCheck(9, 3, 46, "Inside all &file types (not just code files)", 23),
    OptDlgOk(1, 54),
    OptDlgCancel(3, 54),
    optDlgEnd,
};
static const DlgDesc optDlgTrackingDesc = {
    {3, 3, 12, 66}, "Symbol Tracking Options", nullptr, DLG_ROW_FIRST, 0, optDlgTrackingControls};

int OptDlgTracking(TrackingOptionsRecord *record) {
    int32_t values[4] = {record->mode, record->comments, record->strings, record->allFiles};
    if (!OptDlgRun(&optDlgTrackingDesc, values, 4)) return 0;
    *record = {values[0], values[1], values[2], values[3]};
    return 1;
}

// ---- Open Command Options

static const DlgControl optDlgOpenControls[] = {
    {{0, 1, 6, 52}, "The 'Open' Command Activates:", DLG_GROUP, 0, 0, 0, 0},
    {{0, 0, 0, 0}, nullptr, DLG_RADIO_HEAD, 0, 20, 0, 0},
    {{1, 3, 1, 48}, "Project &File List view in Project Window", DLG_RADIO, 0, 30, 0, 0},
    {{2, 3, 1, 48}, "Project &Directory view in Project Window", DLG_RADIO, 0, 31, 0, 0},
    {{3, 3, 1, 48}, "&Load File command dialog box", DLG_RADIO, 0, 32, 0, 0},
    {{4, 3, 1, 48}, "&Standard Open dialog box", DLG_RADIO, 0, 33, 0, 0},
    OptDlgOk(1, 56),
    OptDlgCancel(3, 56),
    optDlgEnd,
};
static const DlgDesc optDlgOpenDesc = {{3, 3, 7, 68},     "Open Command Options", nullptr, DLG_ROW_FIRST, 0,
                                       optDlgOpenControls};

int OptDlgOpenCommand() {
    int32_t choice = PrefsOpenCommandChoice();
    if (!OptDlgRun(&optDlgOpenDesc, &choice, 1)) return 0;
    PrefsSetOpenCommandChoice(choice);
    return 1;
}

// ---- Character Spacing Options

static const DlgControl optDlgSpacingControls[] = {
    {{0, 1, 11, 70}, "Horizontal Spacing", DLG_GROUP, 0, 0, 0, 0},
    {{1, 3, 2, 66},
     "These options affect the width of characters drawn when a proportionally spaced font is used AND the "
     "'Line up white space' option is turned on in the Document Options dialog box.",
     DLG_LABEL,
     0,
     0,
     0,
     0},
    {{3, 3, 2, 60},
     "Spaces are the same width as this character in the current font:\n(Note: tab widths are based on this "
     "width also):",
     DLG_LABEL,
     0,
     0,
     0,
     0},
    {{3, 64, 1, 4}, nullptr, DLG_EDIT, DLGF_NO_HISTORY, 20, 0, 2},
    {{6, 3, 1, 60},
     "Common delimiters are the same width as this character in the current font:",
     DLG_LABEL,
     0,
     0,
     0,
     0},
    {{6, 64, 1, 4}, nullptr, DLG_EDIT, DLGF_NO_HISTORY, 21, 0, 2},
    OptDlgCheck(8, 3, 60, "Layout tabstops using monospace calculations", 22),
    OptDlgCheck(9, 3, 60, "Layout spaces using monospace calculations", 23),
    {{12, 1, 3, 70}, "Vertical Spacing", DLG_GROUP, 0, 0, 0, 0},
    OptDlgCheck(13, 3, 60, "Smaller line heights (reduces font leading)", 24),
    OptDlgOk(16, 48),
    OptDlgCancel(16, 60),
    optDlgEnd,
};
static const DlgDesc optDlgSpacingDesc = {
    {3, 3, 17, 72}, "Character Spacing Options", nullptr, DLG_ROW_FIRST, 0, optDlgSpacingControls};

// The two characters go through one-character text buffers; an empty edit stores 0.
int OptDlgSpacing() {
    PrefsRecord *record = (PrefsRecord *)MemAlloc(sizeof(PrefsRecord));
    if (!record) return 0;
    PrefsSpacingCreate(record);
    char space[2] = {(char)record->values[0], 0}, delimiter[2] = {(char)record->values[1], 0};
    DlgSlot slots[5] = {(DlgSlot)space, (DlgSlot)delimiter, record->values[2], record->values[3],
                        record->values[4]};
    bool ok = DlgRun(&optDlgSpacingDesc, 0, slots) == DLG_CODE_OK;
    if (ok) {
        record->values[0] = (unsigned char)space[0];
        record->values[1] = (unsigned char)delimiter[0];
        for (int32_t i = 2; i < 5; i++) record->values[i] = (int32_t)slots[i];
        PrefsSpacingApply(record);
    }
    MemFree(record);
    return ok;
}

// ---- Special Language Options

enum { OPTDLG_SCRIPT = 23 };

// The script languages: "None", then the language table.
static intptr_t OptDlgSpecialEvent(DlgObject *, int32_t event, int32_t code, void *ptr, intptr_t extra) {
    if (code != OPTDLG_SCRIPT) return 0;
    if (event == DLG_EV_ITEM_COUNT) return PrefsHook().languageCount() + 1;
    if (event != DLG_EV_ITEM_TEXT) return 0;
    char name[256] = "None";
    if (extra > 0) PrefsHook().languageName((int32_t)extra - 1, name);
    PstrFromSz(name, (unsigned char *)ptr);
    return 0;
}

static const DlgControl optDlgSpecialControls[] = {
    {{0, 1, 3, 50}, "C/C++ Options", DLG_GROUP, 0, 0, 0, 0},
    OptDlgCheck(1, 3, 44, "Ignore namespace declarations", 20),
    OptDlgCheck(2, 3, 44, "Parse standard COM macros", 21),
    {{4, 1, 2, 50}, "Java Options", DLG_GROUP, 0, 0, 0, 0},
    OptDlgCheck(5, 3, 44, "Ignore package declarations", 22),
    {{7, 1, 2, 50}, "HTML and Scripts", DLG_GROUP, 0, 0, 0, 0},
    {{8, 3, 1, 22}, "Default script language:", DLG_LABEL, 0, 0, 0, 0},
    {{8, 26, 8, 22}, nullptr, DLG_DROPLIST, 0, OPTDLG_SCRIPT, 0, 0},
    OptDlgOk(1, 54),
    OptDlgCancel(3, 54),
    optDlgEnd,
};
static const DlgDesc optDlgSpecialDesc = {
    {3, 3, 10, 66}, "Special Language Options", OptDlgSpecialEvent, DLG_ROW_FIRST, 0, optDlgSpecialControls};

int OptDlgSpecial() {
    PrefsRecord *record = (PrefsRecord *)MemAlloc(sizeof(PrefsRecord));
    if (!record) return 0;
    PrefsSpecialCreate(record);
    int ok = OptDlgRun(&optDlgSpecialDesc, record->values, 4);
    if (ok) PrefsSpecialApply(record);
    MemFree(record);
    return ok;
}
