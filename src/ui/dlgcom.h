// dlgcom: the system's common dialogs (prefix Ask). Least form: the open and save dialogs.
#pragma once

// The save dialog: title (null: "Save As"), filter as pairs of NUL-terminated description and pattern ending
// with an empty string (null: "All Files (*.*)"), default extension (with or without its dot), the path in
// and out (256 bytes), and the filter index in and out (may be null). 1 when a name was chosen.
int AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path, int *filterIndex);

// Test seam: while a hook is set, AskSaveFile asks it instead of opening the dialog; it answers as the
// dialog would, writing the chosen name into path.
typedef int (*AskSaveHook)(const char *title, const char *filter, const char *defaultExt, char *path);
void AskSetSaveHook(AskSaveHook hook);

// The open dialog: title (null: "Open"), filter and default extension as for the save dialog, the path in and
// out (256 bytes: the folder and name the dialog starts with). The chosen file must exist. 1 when one was
// chosen; 0, path unchanged, when cancelled.
int AskOpenFile(const char *title, const char *filter, const char *defaultExt, char *path);

// Test seam: while a hook is set, AskOpenFile asks it instead of opening the dialog.
typedef int (*AskOpenHook)(const char *title, const char *filter, const char *defaultExt, char *path);
void AskSetOpenHook(AskOpenHook hook);
