// dlgedit: edit fields and editable combos with the history of entered strings (prefix History). The
// dialog engine subclasses every edit and editable combo through here: with history support, or, for a
// field directly above a list, with the list's navigation keys passed on to the dialog.
// The history is not built yet: the subclassing installs nothing, so the controls behave as the
// system's own, and calling it again is harmless.
#pragma once

#include <windows.h>

void HistoryEditSubclass(HWND edit, bool nextIsList);
void HistoryComboSubclass(HWND combo, bool nextIsList);
