// sw: the source window vx_Sw (prefix Sw). Least form: a window that shows one file buffer in its document
// type's screen font, one column per character width, tabs expanded at the type's tab width; it holds a
// selection and a caret, turns the key codes that reach it (message 2025) into commands through the key map
// or types them as text, ends the typing run on a click, on losing the focus and when it closes, and
// answers the document core's questions about source windows (the display hooks of doc/dochook.h) that
// typing and the selection operations ask. Windows-only.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include "base/keycode.h"

#include <windows.h>

#include <cstdint>

struct FileBuffer;
struct Sel;

extern const char swClass[]; // "vx_Sw"

enum : UINT { SW_MSG_KEY = 2025 }; // wParam: a key code

// What the window asks of the shell: the command a key is bound to (0: none, the key is typed) and the
// dispatcher that runs it. Unset, every key is typed.
struct SwCommandHook {
    int32_t (*keyToCommand)(KeyCode key);
    bool (*runCommand)(int32_t command, bool fromKey);
};
void SwSetCommandHook(const SwCommandHook *hook); // null: none

bool SwRegisterClass();
// A window showing the buffer from line 0, with an insertion point at the start: a visible child of the
// parent, or without one a hidden top-level window that the caller shows. It becomes the current source
// window. Null on failure. WM_PRINTCLIENT paints the client area into the given device context.
HWND SwCreate(HWND parent, FileBuffer *doc, int x, int y, int width, int height);
// Registers the display hooks the source window answers, keeping the rest of the table in use.
void SwInstallHooks();

// The current source window (the one most recently created, focused, clicked or keyed); null when none.
HWND SwCurrent();
void SwSetCurrent(HWND window);
FileBuffer *SwGetDoc(HWND window);
Sel *SwGetSel(HWND window); // the window's own selection record
int32_t SwTopLine(HWND window);
int32_t SwVisibleLastLine(HWND window);
void SwScrollToLine(HWND window, int32_t line); // makes it the first line shown
// Pixel positions in the window of a column of a line, and the column at a pixel position.
int32_t SwXFromColumn(HWND window, int32_t line, int32_t column);
int32_t SwColumnFromX(HWND window, int32_t line, int32_t x);
int32_t SwLineHeight(HWND window);
uint32_t SwCodePage(HWND window); // the code page of the buffer's screen font
