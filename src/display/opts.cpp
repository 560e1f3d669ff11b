// opts: the program's option words, the display options record and the colour record (prefix Opt). The
// defaults are the ones a new user starts from: the status bar, the toolbar, syntax formatting, both scroll
// bars, the margin marks, backups kept 200 days, file sharing with a background reload that asks first,
// matching parentheses, the completion window, drag-and-drop, event handlers and the Window menu by title are
// on; every other option is off.
#include "display/opts.h"

#include <cstring>

uint32_t g_options;
uint32_t g_options2;
uint32_t g_options3;
DisplayOptions g_displayOptions;
uint32_t &g_viewOptions = g_displayOptions.viewOptions;
uint32_t &g_viewOptions2 = g_displayOptions.viewOptions2;
uint32_t &g_decorOptions = g_displayOptions.decorOptions;
char &g_spaceWidthChar = g_displayOptions.spaceWidthChar;
char &g_delimWidthChar = g_displayOptions.delimWidthChar;
int32_t g_recoverySeconds = OPT_RECOVERY_SECONDS_DEFAULT;
int32_t g_syncMinutes = OPT_SYNC_MINUTES_DEFAULT;
int32_t g_backupDays = OPT_BACKUP_DAYS_DEFAULT;
int32_t g_undoSteps = OPT_UNDO_STEPS_DEFAULT;
int32_t g_openCommand = OPT_OPEN_COMMAND_DEFAULT;
uint32_t g_pasteSelect = OPT_PASTE_START;
uint32_t g_lineEndFormat = OPT_LINE_END_CRLF;
uint32_t g_spaceBetweenParams;
uint32_t g_spaceAfterFuncName;
ColorRecord g_colorRecord;

void OptSetDefaults() {
    g_options = OPT_MATCH_PARENS | OPT_AUTO_COMPLETION | OPT_SHARING | OPT_BACKGROUND_RELOAD | OPT_ASK_RELOAD;
    g_options2 = OPT2_MAKE_BACKUPS;
    g_options3 = OPT3_DRAG_DROP | OPT3_EVENT_HANDLERS | OPT3_PURGE_BACKUPS;
    g_recoverySeconds = OPT_RECOVERY_SECONDS_DEFAULT;
    g_syncMinutes = OPT_SYNC_MINUTES_DEFAULT;
    g_backupDays = OPT_BACKUP_DAYS_DEFAULT;
    g_undoSteps = OPT_UNDO_STEPS_DEFAULT;
    g_openCommand = OPT_OPEN_COMMAND_DEFAULT;
    g_pasteSelect = OPT_PASTE_START;
    g_lineEndFormat = OPT_LINE_END_CRLF;
    g_spaceBetweenParams = 0;
    g_spaceAfterFuncName = 0;
}

void OptDisplayDefaults(DisplayOptions *out) {
    memset(out, 0, sizeof *out);
    out->viewOptions = VIEW_SYNTAX_FORMATTING | VIEW_STATUS_BAR | VIEW_TOOLBAR | VIEW_HSCROLL |
                       VIEW_REVISION_MARKS | VIEW_BOOKMARKS | VIEW_WINDOWS_BY_TITLE;
    out->viewOptions2 = VIEW2_VSCROLL;
    out->spaceWidthChar = '1';
    out->delimWidthChar = '1';
}
