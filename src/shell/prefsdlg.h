// prefsdlg: the table dialogs of the Preferences' twelve pages (prefix PrefsDlg). Each page's description
// lists its value-bearing controls in the order of the page's record; one callback answers every page:
// a used control's value goes into the record, the page procedure answers the change, and the dialog shows
// the record's values and enable states again; buttons run their page's actions. Windows-only.
//
// Control codes: the control of record word i has code PREFS_DLG_VALUE + i (a button that the page's
// controls enumerate, such as the Languages page's, too); the other buttons have codes from
// PREFS_DLG_BUTTON.
#pragma once

#include "shell/prefs.h"

#include <cstdint>

struct DlgDesc;

enum : int32_t {
    PREFS_DLG_VALUE = 100,
    PREFS_DLG_BUTTON = 200,
};

// The code of record word i's control.
constexpr int32_t PrefsDlgCode(int32_t index) {
    return (int32_t)PREFS_DLG_VALUE + index;
}

// The buttons that are no word of a record.
enum PrefsDlgButton : int32_t {
    PREFS_DLG_LOGGING = PREFS_DLG_BUTTON, // General: "Logging..."
    PREFS_DLG_OPEN_COMMAND,               // Files: "Customize 'Open' Command..."
    PREFS_DLG_ADD_PROJECT,                // Symbol Lookups: "Add Project to Path..."
    PREFS_DLG_COMMON_PROJECTS,            // Symbol Lookups: "Create Common Projects..."
    PREFS_DLG_STYLES,                     // "Styles..."
    PREFS_DLG_SPACING,                    // Display: "Spacing..."
    PREFS_DLG_RESET_TOOLBARS,             // Display: "Reset"
    PREFS_DLG_COLOR,                      // Colors: "Color..."
    PREFS_DLG_RESET_COLORS,               // Colors: "Reset..."
    PREFS_DLG_DOC_TYPES,                  // "Doc Types..."
    PREFS_DLG_FOLDER_DEFAULTS,            // Folders: "Set to Defaults"
    PREFS_DLG_BROWSE,                     // Folders: "..." of folder k is PREFS_DLG_BROWSE + k
};

// The page's description, for the property sheet.
const DlgDesc *PrefsDlgPage(int32_t page);

// Runs one page as a dialog of its own with OK and Cancel: created from the option words, applied on OK,
// cancelled otherwise. 1 after OK, 0 after Cancel.
int PrefsDlgRunPage(int32_t page);
// The sheet until the property sheets stand: the page it opens at, shown by itself.
int PrefsDlgRunSheet(int32_t first, bool alone, int32_t *last);
