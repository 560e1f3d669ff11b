// fmtfont: the table of the formatter's fonts (prefix FmtFont). A growable array searched from the most
// recently added entry; the layout keeps the index of each style's font, so searches are rare.
#include "display/fmtfont.h"

#include "base/heap.h"

#include <cstring>

enum { FMT_FONT_FIRST = 16, FMT_FONT_MAX = 4096 };

static FmtFont *fmtFonts;
static int32_t fmtFontCount;
static int32_t fmtFontCapacity;

static bool FmtFontSame(const FmtFont *font, int32_t device, const FontDesc *desc) {
    return font->device == device && FontDescEqual(&font->desc, desc);
}

static bool FmtFontGrow() {
    if (fmtFontCount < fmtFontCapacity) return true;
    if (fmtFontCapacity >= FMT_FONT_MAX) return false;
    int32_t capacity = fmtFontCapacity ? fmtFontCapacity * 2 : FMT_FONT_FIRST;
    FmtFont *grown = (FmtFont *)MemRealloc(fmtFonts, sizeof(FmtFont) * (size_t)capacity);
    if (!grown) return false;
    fmtFonts = grown;
    fmtFontCapacity = capacity;
    return true;
}

int32_t FmtFontIndex(int32_t device, const FontDesc *desc) {
    for (int32_t i = fmtFontCount - 1; i >= 0; i--)
        if (FmtFontSame(&fmtFonts[i], device, desc)) return i;
    if (!FmtFontGrow()) {
        if (fmtFontCount) return 0;
        return -1;
    }
    FmtFont *font = &fmtFonts[fmtFontCount];
    memset(font, 0, sizeof *font);
    font->desc = *desc;
    font->device = device;
    FmtFontOsMeasure(device, desc, &font->metrics);
    return fmtFontCount++;
}

FmtFont *FmtFontEntry(int32_t index) {
    return index >= 0 && index < fmtFontCount ? &fmtFonts[index] : nullptr;
}

const FmtFont *FmtFontAt(int32_t index) {
    return FmtFontEntry(index);
}

int32_t FmtFontCount() {
    return fmtFontCount;
}

void FmtFontFlush() {
    fmtFontCount = 0;
}
