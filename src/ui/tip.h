// tip: the free tooltip window, class "vx_Tip" (prefix Tip): a small top-most popup that shows a text, or
// whatever its paint callback draws, anywhere on the screen. The list control's hover tip is one.
// Success: true or a window; false or null.
#pragma once

#include <windows.h>

extern const char tipClass[]; // "vx_Tip"

// Paints the tip's client area; text is the window's text.
typedef void (*TipPaintFn)(HWND tip, HDC dc, const char *text);

// The creation data of a vx_Tip window (CreateWindowEx's last argument); null, or a null callback, paints the
// window text in the tooltip colours.
struct TipCreateData {
    TipPaintFn paint;
};

// Registers the class: save bits, class DC, double clicks, one extra word, arrow cursor.
bool TipRegisterClass();
