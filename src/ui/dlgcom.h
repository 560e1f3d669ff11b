// dlgcom: the system's common dialogs (prefix Ask). Least form: the save dialog.
#pragma once

// The save dialog: title (null: "Save As"), filter as pairs of NUL-terminated description and pattern ending
// with an empty string (null: "All Files (*.*)"), default extension (with or without its dot), the path in
// and out (256 bytes), and the filter index in and out (may be null). 1 when a name was chosen.
int AskSaveFile(const char *title, const char *filter, const char *defaultExt, char *path, int *filterIndex);

// Test seam: while a hook is set, AskSaveFile asks it instead of opening the dialog; it answers as the
// dialog would, writing the chosen name into path.
typedef int (*AskSaveHook)(const char *title, const char *filter, const char *defaultExt, char *path);
void AskSetSaveHook(AskSaveHook hook);
