// keyinp: key codes made from key and mouse messages, and input polling (prefixes Key, Mouse). The layout of
// a code is base/keycode.h's; long work polls KeyCheckAbort for Esc or Break.
#pragma once

#include "base/keycode.h"

#include <windows.h>

#include <cstdint>

// May translate the message and take the character message it produces from the queue.
KeyCode KeyFromMsg(MSG *msg);
KeyCode KeyFromMsgParts(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
KeyCode KeyFromMouseMsg(UINT message, WPARAM wParam);
bool KeyIsKeyMsg(UINT message);
bool KeyIsMouseMsg(UINT message);

// 1 when Break, or Esc without modifiers, was pressed since the last query; the status bar then shows
// "Canceled" through the hook the shell registers.
int KeyCheckAbort();
typedef void (*KeyCanceledHook)();
void KeySetCanceledHook(KeyCanceledHook hook);
void KeyClearAbort();

int MouseButtonsDown(int flags); // flag 1: primary down; flag 2: primary or secondary down
void MouseClientPos(HWND window, POINT *point);

// Test seam: the asynchronous key state (what is down now, and what was pressed since the last query), which
// a test cannot set under the virtual display. Null asks the system again.
typedef SHORT (*KeyAsyncStateFn)(int virtualKey);
void KeySetTestAsyncState(KeyAsyncStateFn fn);
