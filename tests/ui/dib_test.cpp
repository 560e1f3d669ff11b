// DIB resources as a table (4-bit information header with a short colour table, 1-bit core header, 24-bit
// without a table): colour count, table size, where the bits start, the palette, and the device bitmap.
#include "ui/dib.h"

#include <gtest/gtest.h>

namespace {

HGLOBAL DibResource(const char *name) {
    HRSRC found = FindResourceA(GetModuleHandleA(nullptr), name, (LPCSTR)RT_BITMAP);
    return found ? LoadResource(GetModuleHandleA(nullptr), found) : nullptr;
}

struct DibCase {
    const char *name;
    int32_t colors;
    int32_t tableSize;
    int32_t bitsOffset;
    int width, height;
    COLORREF firstEntry; // of the palette, when there is one
    COLORREF topLeft;    // the device bitmap's pixel
};

const DibCase dibCases[] = {
    {"dibFour", 3, 12, 52, 8, 4, RGB(255, 0, 0), RGB(255, 0, 0)},
    {"dibOneCore", 2, 6, 18, 16, 2, RGB(10, 20, 30), RGB(200, 210, 220)},
    {"dibTrue", 0, 0, 40, 4, 3, 0, RGB(0, 120, 128)},
};

} // namespace

TEST(Dib, HeadersAndPalettes) {
    for (const DibCase &c : dibCases) {
        SCOPED_TRACE(c.name);
        HGLOBAL resource = DibResource(c.name);
        ASSERT_NE(resource, nullptr);
        const void *header = LockResource(resource);
        EXPECT_EQ(DibColorCount(header), c.colors);
        EXPECT_EQ(DibColorTableSize(header), c.tableSize);
        EXPECT_EQ((const char *)DibBits(header) - (const char *)header, c.bitsOffset);
        HPALETTE palette = DibCreatePalette(resource);
        if (c.colors == 0) {
            EXPECT_EQ(palette, nullptr);
            continue;
        }
        ASSERT_NE(palette, nullptr);
        PALETTEENTRY entries[4] = {};
        EXPECT_EQ(GetPaletteEntries(palette, 0, 4, entries), (UINT)c.colors);
        EXPECT_EQ(RGB(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), c.firstEntry);
        EXPECT_EQ(entries[0].peFlags, 0);
        DeleteObject(palette);
    }
}

TEST(Dib, DeviceBitmapFromBits) {
    for (const DibCase &c : dibCases) {
        SCOPED_TRACE(c.name);
        HGLOBAL resource = DibResource(c.name);
        HPALETTE palette = DibCreatePalette(resource);
        HBITMAP bitmap = DibCreateBitmap(resource, palette);
        ASSERT_NE(bitmap, nullptr);
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, c.width);
        EXPECT_EQ(info.bmHeight, c.height);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        EXPECT_EQ(GetPixel(dc, 0, 0), c.topLeft);
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
        if (palette) DeleteObject(palette);
    }
}
