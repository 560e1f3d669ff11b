// bmp: the named-bitmap cache (prefix Bmp). A string list sorted by name in identifier order (case-blind),
// made with room for 100 items on first use; each item's value is its use count and its data block the
// bitmap handle.
#include "ui/bmp.h"

#include "base/stldata.h"
#include "base/utilil.h"

static Stl *bmpCache;

static HBITMAP BmpItemBitmap(const unsigned char *item) {
    HBITMAP bitmap;
    memcpy(&bitmap, item + item[4] + 5, sizeof bitmap);
    return bitmap;
}

HBITMAP BmpGet(const char *name) {
    if (!bmpCache && !(bmpCache = StlCreate(100))) return nullptr;
    unsigned char key[256];
    PstrFromSz(name, key);
    int32_t index;
    if (StlSearchIdent(bmpCache, key, &index)) {
        unsigned char *item = StlItem(bmpCache, index);
        PlexVarPut32(item, StlItemValue(item) + 1);
        return BmpItemBitmap(item);
    }
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), name);
    if (!bitmap) return nullptr;
    if (!StlDataInsert(bmpCache, index, key, 1, &bitmap, sizeof bitmap)) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

void BmpRelease(HBITMAP bitmap) {
    if (!bmpCache || !bitmap) return;
    for (int32_t i = 0; i < StlCount(bmpCache); i++) {
        unsigned char *item = StlItem(bmpCache, i);
        if (BmpItemBitmap(item) != bitmap) continue;
        // A release too many must not leave a negative count, which would keep the bitmap for ever.
        if (StlItemValue(item) > 0) PlexVarPut32(item, StlItemValue(item) - 1);
        return;
    }
}

static void BmpDeleteWhere(bool unusedOnly) {
    if (!bmpCache) return;
    for (int32_t i = StlCount(bmpCache) - 1; i >= 0; i--) {
        unsigned char *item = StlItem(bmpCache, i);
        if (unusedOnly && StlItemValue(item) > 0) continue;
        DeleteObject(BmpItemBitmap(item));
        StlDelete(bmpCache, i);
    }
}

void BmpPurge() {
    BmpDeleteWhere(true);
}

void BmpTerm() {
    BmpDeleteWhere(false);
    StlFreeNull(&bmpCache);
}
