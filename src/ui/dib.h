// dib: device-independent bitmaps kept as resources (prefix Dib): their colour table and pixel data, and the
// palette and device bitmap made from them (the start-up splash picture). A DIB starts with a 40-byte
// information header or a 12-byte core header, told apart by the header's first field, its size.
// Success: a count, a pointer or a handle; failure 0 or null.
#pragma once

#include <windows.h>

#include <cstdint>

// The colours of the table: an information header's used-colours field when not 0, else by the bit count
// 1 -> 2, 4 -> 16, 8 -> 256, anything else 0.
int32_t DibColorCount(const void *header);
// Bytes of the colour table: 4 per colour after an information header, 3 after a core header.
int32_t DibColorTableSize(const void *header);
// The pixel data: right behind the header and its colour table.
const void *DibBits(const void *header);

// A palette of the DIB's colour table (flags 0); null for a DIB without one.
HPALETTE DibCreatePalette(HGLOBAL resource);
// A device bitmap of the screen initialised from the DIB, with the palette realised while it is made.
HBITMAP DibCreateBitmap(HGLOBAL resource, HPALETTE palette);
