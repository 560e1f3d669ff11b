// fmtfont_posix: the native build's font measures (FmtFontOs...): every font is fixed-pitch at 96 pixels per
// inch, its height a third of its size in quarter points; italic fonts overhang by an eighth of it. No
// double-byte characters.
#include "display/fmtfont.h"

#include <cstring>

void FmtFontOsMeasure(int32_t, const FontDesc *desc, FmtFontMetrics *out) {
    memset(out, 0, sizeof *out);
    int32_t height = desc->size / 3 > 2 ? desc->size / 3 : 2;
    out->ascent = height * 4 / 5;
    out->descent = height - out->ascent;
    out->avgWidth = height * 3 / 5 > 1 ? height * 3 / 5 : 1;
    out->blankWidth = out->avgWidth;
    out->overhang = desc->style & FONT_ITALIC ? (height + 7) / 8 : 0;
    for (int c = 1; c < 256; c++) out->widths[c] = out->avgWidth;
}
