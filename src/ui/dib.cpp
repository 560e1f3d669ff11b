// dib: DIB headers, palettes and device bitmaps (prefix Dib). Layouts read here: the information header
// (BITMAPINFOHEADER, 40 bytes: size, width, height, planes, bit count, compression, image size, x and y
// resolution, used colours, important colours) with 4-byte colour entries (blue, green, red, reserved), and
// the core header (BITMAPCOREHEADER, 12 bytes: size, 16-bit width and height, planes, bit count) with
// 3-byte entries (blue, green, red).
#include "ui/dib.h"

#include "base/heap.h"

#include <cstring>

enum { DIB_CORE_SIZE = 12, DIB_PALETTE_VERSION = 0x300 };

static uint32_t DibHeaderSize(const void *header) {
    uint32_t size;
    memcpy(&size, header, sizeof size);
    return size;
}

static bool DibIsCore(const void *header) {
    return DibHeaderSize(header) == DIB_CORE_SIZE;
}

static int32_t DibCountForBits(int bits) {
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    }
    return 0;
}

int32_t DibColorCount(const void *header) {
    if (DibIsCore(header)) return DibCountForBits(((const BITMAPCOREHEADER *)header)->bcBitCount);
    const BITMAPINFOHEADER *info = (const BITMAPINFOHEADER *)header;
    if (info->biClrUsed != 0) return (int32_t)info->biClrUsed;
    return DibCountForBits(info->biBitCount);
}

int32_t DibColorTableSize(const void *header) {
    return DibColorCount(header) * (DibIsCore(header) ? 3 : 4);
}

const void *DibBits(const void *header) {
    return (const char *)header + DibHeaderSize(header) + DibColorTableSize(header);
}

HPALETTE DibCreatePalette(HGLOBAL resource) {
    const void *header = resource ? LockResource(resource) : nullptr;
    if (!header) return nullptr;
    int32_t count = DibColorCount(header);
    if (count <= 0 || count > 0xFFFF) return nullptr;
    LOGPALETTE *logPalette =
        (LOGPALETTE *)MemAlloc(offsetof(LOGPALETTE, palPalEntry) + count * sizeof(PALETTEENTRY));
    if (!logPalette) return nullptr;
    logPalette->palVersion = DIB_PALETTE_VERSION;
    logPalette->palNumEntries = (WORD)count;
    const unsigned char *table = (const unsigned char *)header + DibHeaderSize(header);
    int entrySize = DibIsCore(header) ? 3 : 4;
    for (int32_t i = 0; i < count; i++) {
        const unsigned char *entry = table + i * entrySize;
        logPalette->palPalEntry[i] = {entry[2], entry[1], entry[0], 0};
    }
    HPALETTE palette = CreatePalette(logPalette);
    MemFree(logPalette);
    return palette;
}

HBITMAP DibCreateBitmap(HGLOBAL resource, HPALETTE palette) {
    const void *header = resource ? LockResource(resource) : nullptr;
    if (!header) return nullptr;
    HDC screen = GetDC(nullptr);
    if (!screen) return nullptr;
    HPALETTE previous = nullptr;
    if (palette) {
        previous = SelectPalette(screen, palette, FALSE);
        RealizePalette(screen);
    }
    HBITMAP bitmap = CreateDIBitmap(screen, (const BITMAPINFOHEADER *)header, CBM_INIT, DibBits(header),
                                    (const BITMAPINFO *)header, DIB_RGB_COLORS);
    if (previous) SelectPalette(screen, previous, FALSE);
    ReleaseDC(nullptr, screen);
    return bitmap;
}
