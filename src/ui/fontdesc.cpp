// fontdesc: font descriptions (prefix FontDesc). The stored FontDesc is 36 bytes: style word (16 bits), size
// in quarter points (16 bits), face (31 bytes, at most 30 characters and a NUL, which a stored record may
// lack) and character set (8 bits).
#include "ui/fontdesc.h"

#include "base/str.h"
#include "base/utilil.h"

#include <cstring>

char *FontDescFace(const FontDesc *desc, char *out) {
    StrCopyMaxLen(desc->face, out, FONT_FACE_MAX);
    return out;
}

FontDesc *FontDescInit(FontDesc *desc, const char *face, int32_t size) {
    memset(desc, 0, sizeof *desc);
    StrCopyMaxLen(face, desc->face, FONT_FACE_MAX);
    desc->size = (uint16_t)size;
    return desc;
}

bool FontDescEqual(const FontDesc *a, const FontDesc *b) {
    if (a->style != b->style || a->size != b->size || a->charset != b->charset) return false;
    char faceA[FONT_FACE_MAX + 1], faceB[FONT_FACE_MAX + 1];
    return StrEqualI(FontDescFace(a, faceA), FontDescFace(b, faceB));
}
