// bmp: bitmaps loaded from the program's resources by name, cached and shared by use count (prefix Bmp): the
// fuel meter, list and file-selection icons, tree glyphs, window buttons and the marble texture.
// Success: a handle; failure null.
#pragma once

#include <windows.h>

// The cached bitmap of that name (names compare case-blind), its use count raised; on a miss the bitmap is
// loaded and cached with a use count of 1. Null when it cannot be loaded or cached.
HBITMAP BmpGet(const char *name);
// Lowers the use count; the bitmap stays cached until BmpPurge. A bitmap not in the cache is left alone.
void BmpRelease(HBITMAP bitmap);
// Deletes every cached bitmap that nobody uses (the idle chain's resource release).
void BmpPurge();
// At shutdown: deletes every cached bitmap and the cache.
void BmpTerm();
