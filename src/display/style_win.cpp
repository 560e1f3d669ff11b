// style_win: the display facts the style sheet's defaults take (StyleOs...): the system's window-text colour
// and the colour depth the drawing layer measured.
#include "display/style.h"

#include "ui/draw.h"

#include <windows.h>

uint32_t StyleOsWindowText() {
    return GetSysColor(COLOR_WINDOWTEXT);
}

bool StyleOsManyColours() {
    return DrawIsHiColor();
}
