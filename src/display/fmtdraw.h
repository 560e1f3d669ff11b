// fmtdraw: drawing a formatted line with GDI (prefix FmtDraw, and DrawFormattedLine): its runs with their
// fonts, colours and shadows, the fills of the row around them, underlines, boxes and inverse spans, and the
// line-drawing stream. Windows-only.
// Success convention of the display layer: 1 (or a pointer, or a number) for success, 0, null or -1 for
// failure.
#pragma once

#include "display/format.h"

#include <windows.h>

#include <cstdint>

// Mode bits of DrawFormattedLine.
enum : uint32_t {
    FMT_DRAW_LINES = 0x1
}; // run the line-drawing stream (painting passes 3, the style sample 1)

// Draws the line with its left edge at x and its top at y; the row's fills begin at leftClip and end at
// rightEnd. The DC keeps its pen; its font, colours, text alignment (on the baseline) and background mode
// are left as the line set them, for the next line of a paint.
void DrawFormattedLine(const FmtLine *line, uint32_t modeBits, HDC dc, int32_t x, int32_t y, int32_t leftClip,
                       int32_t rightEnd);

// Test seam: plain lines drawn run by run as well (off), to compare with drawing them by colour (on, the
// default).
void FmtDrawSetByColour(bool on);
