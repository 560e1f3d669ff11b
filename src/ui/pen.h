// pen: the pen cache (prefix Pen). Pens are made once per style, colour and width and kept for the run, the
// most recently used first; the idle chain frees them all while the program is in the background, and they
// are made again when next asked for. Success: a pen; a pen that cannot be made is the stock black pen.
#pragma once

#include <windows.h>

#include <cstdint>

HPEN PenGet(int32_t style, COLORREF color, int32_t width);
HPEN PenGetThin(int32_t style, COLORREF color); // width 1
// Selects the cached solid one-pixel pen of that colour; the pen it replaced.
HPEN PenSelectSolid(HDC dc, COLORREF color);
// Deletes every cached pen. Pens handed out before are invalid afterwards.
void PenFreeAll();
void PenExit();
