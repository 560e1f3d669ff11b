// tip: the free tooltip window, class "vx_Tip" (prefix Tip): a small top-most popup that shows a text, or
// whatever its paint callback draws, anywhere on the screen. The list control's hover tip is one; TipShowAt
// shows a text beside a point.
// Success: true or a window; false or null.
#pragma once

#include <windows.h>

#include <cstdint>

extern const char tipClass[]; // "vx_Tip"

enum { TIP_TEXT_MAX = 512 }; // characters of the window text that the default painting writes

// Paints the tip's client area; text is the window's text.
typedef void (*TipPaintFn)(HWND tip, HDC dc, const char *text);
// The tip is being destroyed (WM_DESTROY), by its creator or by the system.
typedef void (*TipGoneFn)(HWND tip);

// The creation data of a vx_Tip window (CreateWindowEx's last argument), copied by the window; null, or a
// null member, paints the window text in the tooltip colours and tells nobody of the end.
struct TipCreateData {
    TipPaintFn paint;
    TipGoneFn gone;
};

// Registers the class: save bits, class DC, double clicks, one extra word, arrow cursor. Registering again
// changes nothing.
bool TipRegisterClass();

// A tip of the text owned by the owner window, shown without activation near the screen point: a quarter of
// its width left of x and 16 pixels below y, kept 2 pixels inside the left edge and 3 inside the right and
// bottom edges of the monitor nearest the point. Null when it cannot be made.
HWND TipShowAt(HWND owner, const char *text, int32_t x, int32_t y);
