// optdlg: the table dialogs of the options (prefix OptDlg): Advanced Options, Logging Options and Symbol
// Tracking Options, and the three small dialogs that pages of the Preferences open (Open Command Options,
// Character Spacing Options, Special Language Options). Each runs modally over its record (advopt.h,
// prefs.h) and answers 1 after OK, 0 after Cancel; the records' procedures do the rest. Windows-only: the
// program registers the first three as the advanced options' dialog hooks.
#pragma once

#include "shell/advopt.h"
#include "shell/prefs.h"

int OptDlgAdvanced(AdvancedOptions *record);
int OptDlgLogging(LoggingOptionsRecord *record);
int OptDlgTracking(TrackingOptionsRecord *record);

// Files: "Customize 'Open' Command..." (g_openCommand set on OK).
int OptDlgOpenCommand();
// Display: "Spacing..." (the record's procedures applied on OK).
int OptDlgSpacing();
// Languages: "Special..." (the record's procedures applied on OK).
int OptDlgSpecial();

// Control codes of the dialogs' buttons, for scripts.
enum OptDlgCode : int32_t {
    OPTDLG_LOGGING = 10, // Advanced Options: "Logging..."
    OPTDLG_NOTEPAD = 11, // Logging Options: "Open log file in Notepad"
    OPTDLG_EMPTY = 12,   // Logging Options: "Empty the log file"
    OPTDLG_FIRST = 20,   // the first value-bearing control; the others follow in record order
};
