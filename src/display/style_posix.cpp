// style_posix: the native build's display facts for the style sheet (StyleOs...): black text on a display of
// many colours.
#include "display/style.h"

uint32_t StyleOsWindowText() {
    return 0x000000;
}

bool StyleOsManyColours() {
    return true;
}
