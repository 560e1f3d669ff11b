// fmtfont_win: the font measures of the formatter's fonts (FmtFontOs...), taken from the window library's
// font cache: ascent and descent, the average and blank widths (the blank's the width character's with fixed
// white space), the overhang, per-character and ABC widths, and the lead bytes of the font's code page.
#include "display/fmtfont.h"

#include "ui/font.h"

#include <windows.h>

#include <cstring>

static void FmtFontOsLeadBytes(const FontRecord *font, FmtFontMetrics *out) {
    if (font->asciiSafe && !font->codePage) return;
    for (int i = 0; i + 1 < MAX_LEADBYTES && font->cpInfo.LeadByte[i]; i += 2)
        for (int c = font->cpInfo.LeadByte[i]; c <= font->cpInfo.LeadByte[i + 1] && c < 256; c++)
            out->leadByte[c] = true;
}

void FmtFontOsMeasure(int32_t device, const FontDesc *desc, FmtFontMetrics *out) {
    memset(out, 0, sizeof *out);
    const FontRecord *font = FontGet(device, desc);
    out->ascent = font->metrics.tmAscent;
    out->descent = font->metrics.tmDescent;
    out->avgWidth = font->avgWidth > 0 ? font->avgWidth : 1;
    out->blankWidth = font->secondWidth > 0 ? font->secondWidth : out->avgWidth;
    out->overhang = font->metrics.tmOverhang;
    memcpy(out->widths, font->widths, sizeof out->widths);
    out->abcValid = font->abcValid;
    for (int c = 0; font->abcValid && c < 256; c++) {
        out->abcA[c] = (int16_t)font->abc[c].abcA;
        out->abcC[c] = (int16_t)font->abc[c].abcC;
    }
    FmtFontOsLeadBytes(font, out);
}
