// dlgcom: the system's common dialogs with the program's fixed policy (prefix Ask): open, save as, font,
// colour and folder. All are owned by the frame's last active popup, except the save dialog, owned by the
// window that has the focus. The modal system calls go through one replaceable table, so that tests answer
// them with filled buffers.
// Portable modules call the open and save dialogs, so this header names the system's records only by
// their tags.
// Success: true when the user chose; false when cancelled or when the system's dialog failed.
#pragma once

#include "ui/color.h"

#include <cstdint>

struct Stl;
struct tagLOGFONTA;     // LOGFONTA
struct tagOFNA;         // OPENFILENAMEA
struct tagCHOOSEFONTA;  // CHOOSEFONTA
struct tagCHOOSECOLORA; // CHOOSECOLORA
struct _browseinfoA;    // BROWSEINFOA
struct _ITEMIDLIST;     // the shell's item list

// Filters are pairs of NUL-terminated description and pattern ending with an empty string (null: "All Files
// (*.*)" with "*.*"); a default extension may come with or without its dot; a filter index (may be null)
// goes in and comes back. Paths hold 256 bytes.

// The open dialog: a file that must exist; the path gives the folder and name it starts with and receives the
// choice (unchanged when cancelled).
bool AskOpenFile(const char *title, const char *filter, const char *defaultExt, char *path);
// The open dialog in full: title (null: "Open"). Without a list one name comes back in the path, with the
// default extension added when it has none. With a list the user may choose several files: each comes as a
// full path, with the default extension, appended to the list (the path is left alone); 0 as soon as one
// cannot be appended.
bool AskOpenFileEx(const char *title, const char *filter, const char *defaultExt, char *path, Stl *list,
                   bool mustExist, int *filterIndex);
// The save dialog: title (null: "Save As"); the system asks before a file is overwritten.
bool AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path, int *filterIndex);
// The font dialog on a LOGFONT (the title is not shown): screen fonts, printer fonts when the print manager
// has a printer (without one they are dropped; when nothing else is left the screen's are offered).
bool AskFont(const char *title, tagLOGFONTA *font, bool screenFonts, bool printerFonts);
// The colour dialog, fully open, starting at the colour; sixteen white custom colours each time.
bool AskColor(const char *title, Color *color);
// The folder browser starting at the path; 1 only when the chosen folder exists.
bool AskFolder(const char *title, char *path);

// The system's calls; tests replace them. Null puts the system's back.
struct AskDialogCalls {
    bool (*getOpenFileName)(tagOFNA *dialog);
    bool (*getSaveFileName)(tagOFNA *dialog);
    bool (*chooseFont)(tagCHOOSEFONTA *dialog);
    bool (*chooseColor)(tagCHOOSECOLORA *dialog);
    _ITEMIDLIST *(*browseForFolder)(_browseinfoA *browse);
    bool (*pathFromIdList)(const _ITEMIDLIST *item, char *path); // path holds MAX_PATH bytes
    void (*freeIdList)(_ITEMIDLIST *item);                       // with the shell's allocator
    uint32_t (*extendedError)();                                 // CommDlgExtendedError
};
void AskSetDialogCalls(const AskDialogCalls *calls);

// Test seams for the layers above: while a hook is set, the open dialog (AskOpenFile, and AskOpenFileEx,
// where the answer stands for one chosen file) or the save dialog asks it instead of the system; it answers
// as the dialog would, writing the chosen name into the path.
typedef int (*AskSaveHook)(const char *title, const char *filter, const char *defaultExt, char *path);
void AskSetSaveHook(AskSaveHook hook);
typedef int (*AskOpenHook)(const char *title, const char *filter, const char *defaultExt, char *path);
void AskSetOpenHook(AskOpenHook hook);
