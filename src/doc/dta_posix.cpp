// dta_posix: the native build's side of the document types (DtaOs...). It has no fonts of the system: every
// face counts as present, the stock fixed font is described as "Courier" 10, and no font object is made.
#include "doc/dta.h"

bool DtaOsFaceAvailable(const FontDesc *) {
    return true;
}

void DtaOsStockFixedFont(FontDesc *out) {
    FontDescInit(out, "Courier", 40);
}

FontRecord *DtaOsFontGet(int32_t, const FontDesc *) {
    return nullptr;
}

void *DtaOsFontHandle(FontRecord *) {
    return nullptr;
}
