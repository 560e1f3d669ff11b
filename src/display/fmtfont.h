// fmtfont: the fonts of formatted lines (prefix FmtFont): a table of the fonts the formatter has used, each a
// description on a device (0 the screen, 1 the printer) with the metrics the layout needs. Opcodes 5 and 13
// of a formatted line carry an index into this table, never a handle. The measures come from the window
// library's font cache (fmtfont_win.cpp); the native build has fixed-pitch stand-ins (fmtfont_posix.cpp).
// Portable.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include "ui/fontdesc.h"

#include <cstdint>

struct FmtFontMetrics {
    int32_t ascent;
    int32_t descent;
    int32_t avgWidth;   // of the average character: tab stops, expansion, nominal grids
    int32_t blankWidth; // what a blank measures with fixed white space (the chosen width character)
    int32_t overhang;   // an italic or bold font's extra width
    bool abcValid;
    int32_t widths[256];
    int16_t abcA[256]; // the characters' A and C widths (negative: they reach out of their cell)
    int16_t abcC[256];
    bool leadByte[256]; // lead bytes of double-byte characters in the font's code page
};

struct FmtFont {
    FontDesc desc;
    int32_t device;
    FmtFontMetrics metrics;
    void *osFont;     // the drawing side's font for the entry (null until it draws with it)
    uint32_t osStamp; // what the drawing side checks osFont by
};

// The index of the description on the device, measured on first use; 0 (the first font used) when the table
// cannot grow, -1 when it holds none.
int32_t FmtFontIndex(int32_t device, const FontDesc *desc);
// The entry of an index; null outside the table. FmtFontEntry gives the drawing side its fields.
const FmtFont *FmtFontAt(int32_t index);
FmtFont *FmtFontEntry(int32_t index);
int32_t FmtFontCount();
// Forgets every font (after the font layer's measures changed: zoom, leading, measuring characters).
void FmtFontFlush();

// The system's side: the measures of a description on a device.
void FmtFontOsMeasure(int32_t device, const FontDesc *desc, FmtFontMetrics *out);
