// mdi: the MDI client in the frame's client area, where source windows live as MDI children (prefix Mdi).
// The module creates the client and subclasses it to paint its empty area (an optional gradient around an
// anchor a quarter down the area, and a line of embossed text), wraps the MDI messages the program sends,
// and supplies the default window procedures of the frame and of the MDI children.
// Success: true or a window; failure false or null.
#pragma once

#include <windows.h>

#include <cstdint>

// Creates the client at the rectangle (in the frame's client area). Its window menu is the submenu at that
// position of the frame's menu (-1: none), else the module's own empty menu.
bool MdiCreateClient(HWND frame, const RECT *rect, int32_t windowMenuPosition, UINT firstChildId);
void MdiExit(); // frees the empty-area text and the module's own window menu
HWND MdiGetClient();

// A new child: the class, its title, the parameter its WM_CREATE finds in the MDI creation record, the
// style and the rectangle (null: the system's default place and size). Unless the style asks for a minimised
// child, it is maximised when the active child is, and takes the focus.
HWND MdiCreateChild(const char *className, const char *title, LPARAM param, DWORD style, const RECT *rect);
void MdiActivate(HWND child); // and shows it normally unless it is maximised
void MdiCascade();
void MdiTile(bool vertical);
void MdiDestroy(HWND child);
HWND MdiGetActiveChild();
bool MdiIsChildMaximized(); // the active child is maximised
void MdiMaximize(HWND child);
void MdiRestore(HWND child);
// Gives the frame its menu bar; a null window menu stands for the module's own empty one. Without a client
// the bar goes straight to the shell's frame.
void MdiSetMenu(HMENU bar, HMENU windowMenu);
void MdiShowClient();
void MdiHideClient();

// The empty area: its colour (repainted at once), whether the text shows, and the text (a copy is kept).
void MdiSetBackColor(COLORREF color);
void MdiShowEmptyText(bool show);
void MdiSetEmptyText(const char *text); // null or "" shows none

// The default procedures: the frame's (for the frame procedure's unhandled messages) and the children's.
LRESULT MdiFrameDefProc(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT MdiChildDefProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
