// dta_win: the window library's side of the document types (DtaOs...): whether the system has a face (the
// font made from a description is selected and its face read back: a system that lacks the face makes
// another one), the stock fixed font's description, and fonts from the font cache.
#include "doc/dta.h"

#include "base/utilil.h"
#include "ui/draw.h"
#include "ui/font.h"

#include <windows.h>

bool DtaOsFaceAvailable(const FontDesc *desc) {
    HDC dc = DrawGetDC(DRAW_SCREEN);
    HDC own = dc ? nullptr : CreateCompatibleDC(nullptr);
    if (!dc) dc = own;
    if (!dc) return true;
    HFONT font = FontCreate(DRAW_SCREEN, desc);
    HGDIOBJ old = SelectObject(dc, font);
    char made[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof made, made);
    SelectObject(dc, old);
    DeleteObject(font);
    if (own) DeleteDC(own);
    char face[FONT_FACE_MAX + 1];
    FontDescFace(desc, face);
    return StrEqualI(made, face[0] == '@' ? face + 1 : face);
}

void DtaOsStockFixedFont(FontDesc *out) {
    if (!FontFromStock(ANSI_FIXED_FONT, out)) FontDescInit(out, "Courier", 40);
}

FontRecord *DtaOsFontGet(int32_t device, const FontDesc *desc) {
    return FontGet(device, desc);
}

void *DtaOsFontHandle(FontRecord *font) {
    return font ? font->font : nullptr;
}
