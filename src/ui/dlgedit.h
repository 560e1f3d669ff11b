// dlgedit: edit fields and editable combos with the history of entered strings (prefix History). Every
// history control shares one history: leaving a field records its text, and Up and Down in it cycle through
// the history. A field directly above a list passes the list's navigation keys to the dialog instead, which
// hands them to the list. The dialog engine subclasses its edits and combos through here; windows that make
// their own fields create them here. Subclassing a control again changes nothing.
//
// The history is one string table block, most recent first (slot 0), of at most 19 entries, compared
// exactly; texts shorter than 2 characters are never recorded. It is kept in the workspace.
// Success: true, a count or a handle; failure false, 0 or null (the current error set).
#pragma once

#include "base/stb.h"

#include <windows.h>

#include <cstdint>

enum { HISTORY_MAX = 19, HISTORY_MSG_KEY = 2025 }; // 2025: a key code for the window to run

void HistoryEditSubclass(HWND edit, bool nextIsList);
void HistoryComboSubclass(HWND combo, bool nextIsList);
// A bordered, auto-scrolling edit or drop-down combo (with the extended interface) in the dialog font,
// subclassed; null when the window cannot be made.
HWND HistoryEditCreate(HWND parent, const RECT *rect, bool visible, bool nextIsList);
HWND HistoryComboCreate(HWND parent, const RECT *rect, bool visible, bool nextIsList);

// Records a text: the new count; 0 on failure; the text's length when it is shorter than 2. A text already
// there changes places with the newest entry.
int32_t HistoryAdd(const unsigned char *pstr);
int32_t HistoryAddSz(const char *text); // cut at 255 characters
bool HistoryFind(const unsigned char *pstr);
Stb *HistoryGet(); // made when missing; null when it cannot be
void HistoryClear();
// The workspace's section: the block in the string table block's file form. Reading a block that cannot be
// read leaves an empty history; both answer true unless the history cannot be made or written.
bool HistoryWrite(int file);
bool HistoryRead(int file);
