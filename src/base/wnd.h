// wnd: small operations on windows that every window module uses (prefix Wnd, and PumpMessages,
// AppIsForeground, Cursor, OleInitOnce).
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/rect.h"

// The shell's frame and MDI client windows, which the window utilities measure against.
void WndSetAppWindows(HWND frame, HWND mdiClient);
HWND WndGetAppFrame(); // null until set

// Windows.
void WndShowByState(HWND window, int state); // 0 normal, 1 maximised, 2 minimised, other shown
int WndShowState(HWND window);               // 1 zoomed, 2 iconic, else 0
WNDPROC WndGetProc(HWND window);
void WndGetRectInFrame(HWND window, RECT *out);
void WndRepaintNow(HWND window);
void WndRedrawNow(HWND window);
void PumpMessages();
void WndGetClientSize(HWND window, Xywh *out);
void WndGetOriginSize(HWND window, Xywh *out);
void WndGetRect(HWND window, RECT *out); // the nearest monitor's rectangle when no window is given
int32_t WndGetWidth(HWND window);
void WndSetPosXywh(HWND window, const Xywh *pos);
void WndSetPosRect(HWND window, const RECT *rect);
void WndMoveRect(HWND window, const RECT *rect, bool repaint);
void WndMoveXywh(HWND window, const Xywh *pos, bool repaint);
void WndShow(HWND window, bool show);
HWND WndCreate(const char *className, const char *title, DWORD style, const Xywh *pos, HWND parent,
               void *param);
HWND WndCreateEx(DWORD exStyle, const char *className, const char *title, DWORD style, const Xywh *pos,
                 HWND parent, void *param);
bool WndInOwnProcess(HWND window);
void WndGetTextPstr(HWND window, unsigned char *out, int size); // at most size - 2 characters
bool WndIsAncestor(HWND ancestor, HWND window);
bool AppIsForeground();
LRESULT WndCommandParent(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT WndNotifyParent(HWND control, int code);
LRESULT WndForwardMouseToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int WndGetScrollTrackPos(HWND window, int bar);
int WndSetScrollInfo(HWND window, int bar, const SCROLLINFO *info, int redraw);
LRESULT CALLBACK WndDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CursorSet(HCURSOR cursor);
void CursorSetHelp();
void CursorFreeHelp();
void OleInitOnce();
